#pragma once
// Duels won, lost and drawn at each level of the opponent, kept for each
// player and for all players as named values in the settings store, beside
// the other records.

#include <string>

#include "game/rules/Duel.h"
#include "game/rules/Records.h"

struct DuelTally {
    int won = 0;
    int lost = 0;
    int drawn = 0;
};

// Counts one finished duel for the player and for all players, in one
// transaction of the store. False when it could not be kept.
bool RecordDuelFinished(const std::string& player, OpponentLevel level, int playerTotal, int opponentTotal);
// The tally at one level, for the current player or for all players.
DuelTally ReadDuelTally(RecordScope scope, OpponentLevel level);
