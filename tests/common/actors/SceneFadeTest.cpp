// A scene's fade operations on the software renderer: FadeTo covers through
// the scene's fade actor, IsCovering follows it, FadeOut reveals the scene;
// a scene without a fade actor does nothing.

#include <gtest/gtest.h>

#include "common/actors/CActorFade.h"
#include "tests/support/SceneOnRenderer.h"

namespace {

class SceneFade : public gfxtest::SceneOnRenderer {
protected:
    // Scene updates until the fade has finished (at most 100).
    int RunFade(const CActorFade* fade) {
        int updates = 0;
        for (; (fade->covering || fade->revealing) && updates < 100; ++updates) {
            enginetest::AdvanceTicks(kFadeStepTicks32);
            scene->UpdateActors();
        }
        return updates;
    }
};

}  // namespace

TEST_F(SceneFade, FadeToCoversFadeOutRevealsAndIsCoveringFollowsTheCover) {
    EXPECT_EQ(scene->IsCovering(), 0);  // no fade actor: nothing happens
    scene->FadeTo(0, 0x00FF0000u);
    scene->FadeOut();
    EXPECT_EQ(scene->IsCovering(), 0);

    auto* fade = new CActorFade(scene, 0, 0, 10 * 256);
    scene->fade = fade;
    scene->FadeTo(0, 0x00336699u);
    EXPECT_EQ(scene->IsCovering(), 1);
    EXPECT_FALSE(fade->hidden);
    EXPECT_GT(RunFade(fade), 26);
    EXPECT_EQ(scene->IsCovering(), 0);
    EXPECT_EQ(fade->coverDone, 1);
    EXPECT_EQ(fade->colour32 & 0xFFFFFFu, 0x336699u);

    scene->FadeTo(1, 0);  // a random colour becomes the next reveal's
    EXPECT_EQ(scene->IsCovering(), 1);
    const std::uint32_t randomColour = CActorFade::LastFadeColour();
    RunFade(fade);
    scene->FadeOut();
    EXPECT_EQ(fade->revealing, 1);
    EXPECT_EQ(scene->IsCovering(), 0);
    EXPECT_EQ(fade->colour32, randomColour | 0xFF000000u);
    RunFade(fade);
    EXPECT_EQ(fade->revealDone, 1);
    EXPECT_TRUE(fade->hidden);
    scene->fade = nullptr;
}
