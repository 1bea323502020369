// The output's density changing under a running scene (a resized or full-screen
// window): every picture is read again at the new density, and every actor keeps
// its place, motion, frame and bounds in design pixels.

#include "tests/support/PlaySceneTestSupport.h"

#include "common/actors/CSprite.h"
#include "platform/render/MTexture.h"

#include <tuple>
#include <vector>

namespace playtest {
namespace {

using ActorState = std::tuple<int, int, int, int, int, int, int, int, int, int, const CSprite*, int, int, int, int>;

std::vector<ActorState> StateOf(const CScene* s) {
    std::vector<ActorState> states;
    for (CActor* a = s->FirstActor(); a; a = a->next) {
        const CSprite* f = a->GetSprite();
        states.emplace_back(a->x, a->y, a->z, a->vx, a->vy, a->hidden, a->bounds.left, a->bounds.top,
                            a->bounds.right, a->bounds.bottom, f, f ? f->w : 0, f ? f->h : 0, f ? f->ox : 0,
                            f ? f->oy : 0);
    }
    return states;
}

TEST_F(PlaySceneTest, AChangeOfDensityReadsThePicturesAgainAndKeepsEveryActorsPlaceAndState) {
    Start();
    PastIntro();
    RollAndSettle();
    Tap(SDLK_RETURN);
    Run(16);  // the row rises and tumbles
    ASSERT_TRUE(RowBusy());
    const std::vector<ActorState> before = StateOf(scene);
    const CSprite* die = Die(0, 0)->GetSprite();
    ASSERT_NE(die, nullptr);
    ASSERT_NE(die->texture, nullptr);
    EXPECT_EQ(die->texture->GetDensity(), 1);
    const int boardCursor = scene->board.handIndex;
    // The hand clock stands still: the frames below take no game time.
    for (auto [w, h, density] : {std::tuple{1600, 1200, 2}, std::tuple{3840, 2160, 3}, std::tuple{800, 600, 1}}) {
        SDL_SetWindowSize(screen->handle, w, h);
        screen->Frame();
        EXPECT_EQ(MRenderDevice::Current()->GetPictureDensity(), density) << w;
        EXPECT_EQ(die->texture->GetDensity(), density) << w;
        EXPECT_GE(die->texture->StoreWidth(), die->w * density) << w;
        EXPECT_TRUE(StateOf(scene) == before) << w;
        EXPECT_EQ(scene->board.handIndex, boardCursor);
    }
    // The roll goes on as it would have.
    Settle();
    EXPECT_EQ(scene->board.rollsUsed, 2);
}

}  // namespace
}  // namespace playtest
