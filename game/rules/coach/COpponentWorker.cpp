#include "game/rules/coach/COpponentWorker.h"

namespace coach {

COpponentWorker::COpponentWorker(std::uint64_t seed, OpponentLevel level)
    : thread([this, seed, level] {
          game = PlayOpponentGame(seed, level, CCoach(), &stop);
          done.store(true, std::memory_order_release);
      }) {}

COpponentWorker::~COpponentWorker() {
    stop = true;
    thread.join();
}

}  // namespace coach
