// Mouse and key routing through real SDL events: transparency, capture, the
// mouse-down and key-down scenes, and hotspots.

#include "tests/support/EngineWindowSupport.h"
#include "common/widgets/CActorHotspot.h"

using namespace enginewin;

using EngineRouting = EngineWindowTest;

TEST_F(EngineRouting, AClickOnATransparentPixelReachesTheActorBelow) {
    auto* scene = new ProbeScene(screen, "game");
    screen->scene.reset(scene);
    new ProbeSprite(scene, "below", 100, 100, 50, Picture(40, 40, false));
    new ProbeSprite(scene, "button", 100, 100, 20, Picture(40, 40, true));

    Press(105, 110);  // the button's clear left half
    Release(105, 110);
    Press(130, 110);  // its opaque right half
    EXPECT_EQ(gLog, (std::vector<std::string>{"below 3 105,110", "below 4 105,110", "button 3 130,110"}));

    // Nothing under the pointer: the scene's own handler.
    gLog.clear();
    Press(300, 300);
    EXPECT_EQ(gLog, (std::vector<std::string>{"game left-down 300,300"}));
    EXPECT_EQ(screen->leftButtonDown, 1);
}

TEST_F(EngineRouting, AMirroredPictureIsHitThroughItsMirror) {
    auto* scene = new ProbeScene(screen, "game");
    screen->scene.reset(scene);
    auto* sprite = new ProbeSprite(scene, "mirrored", 140, 100, 20, Picture(40, 40, true));
    sprite->flip = kFlipHorizontal;  // now covers 100..140 with its clear half on the right
    sprite->RecalcBounds();
    Press(105, 110);
    Press(135, 110);
    EXPECT_EQ(gLog, (std::vector<std::string>{"mirrored 3 105,110", "game left-down 135,110"}));
}

TEST_F(EngineRouting, ACapturedDragGetsTheMovesAndTheReleaseAnywhere) {
    auto* scene = new ProbeScene(screen, "game");
    screen->scene.reset(scene);
    auto* die = new ProbeSprite(scene, "die", 100, 100, 20, Picture(40, 40, false));
    die->dragging = 1;

    Move(110, 110);  // without the capture a move goes to the scene, not the actor
    Press(110, 110);
    EXPECT_EQ(GetCaptureActor(), die);
    Move(400, 300);
    Move(700, 500);
    Release(700, 500);
    EXPECT_EQ(GetCaptureActor(), nullptr);
    Move(110, 110);
    EXPECT_EQ(gLog, (std::vector<std::string>{"game move 110,110", "die 3 110,110", "die 1 400,300", "die 1 700,500",
                                              "die 4 700,500", "game move 110,110"}));

    // An actor that goes away with the capture takes the capture with it.
    Press(110, 110);
    delete die;
    EXPECT_EQ(GetCaptureActor(), nullptr);
    EXPECT_EQ(GetCaptureScene(), nullptr);
}

TEST_F(EngineRouting, AReleaseOverANewTopSceneIsNotDelivered) {
    auto* game = new ProbeScene(screen, "game");
    screen->scene.reset(game);
    Press(50, 50);
    auto* dialog = new ProbeScene(screen, "dialog");
    Release(50, 50);
    Press(60, 60);
    Release(60, 60);
    EXPECT_EQ(gLog, (std::vector<std::string>{"game left-down 50,50", "dialog left-down 60,60",
                                              "dialog left-up 60,60"}));
    // Back to the game scene: its own press and release pair up again.
    delete dialog;
    Release(70, 70);
    Press(70, 70);
    Release(70, 70);
    EXPECT_EQ(gLog.back(), "game left-up 70,70");
    EXPECT_EQ(gLog.size(), 5u);

    // A double click sets neither of the screen's button flags.
    screen->leftButtonDown = 0;
    Button(SDL_MOUSEBUTTONDOWN, 80, 80, SDL_BUTTON_LEFT, 2);
    EXPECT_EQ(screen->leftButtonDown, 0);
    EXPECT_EQ(GetMouseDownScene(), game);
}

TEST_F(EngineRouting, AKeyReleaseGoesOnlyToTheSceneThatSawThePress) {
    auto* game = new ProbeScene(screen, "game");
    screen->scene.reset(game);
    Key(SDL_KEYDOWN, SDLK_RETURN);
    auto* dialog = new ProbeScene(screen, "dialog");
    Key(SDL_KEYUP, SDLK_RETURN);  // the dialog never saw the press
    Key(SDL_KEYDOWN, SDLK_a);
    Key(SDL_KEYUP, SDLK_a);
    delete dialog;
    Key(SDL_KEYUP, SDLK_a);  // the key-down scene is gone
    EXPECT_EQ(gLog, (std::vector<std::string>{"game key-down 13", "dialog key-down 65", "dialog key-up 65"}));
    // Without any scene the screen treats keys as handled.
    screen->scene.release();
    delete game;
    EXPECT_EQ(screen->OnKeyDown(13), 1);
    EXPECT_EQ(screen->OnKeyUp(13), 1);
}

TEST_F(EngineRouting, AHotspotTurnsAClickIntoTheKeyPressOfItsId) {
    auto* scene = new ProbeScene(screen, "game");
    screen->scene.reset(scene);
    new CActorHotspot(scene, CRect{10, 20, 110, 70}, 200 * 256, 'x');
    Press(10, 20);
    Press(109, 69);
    Press(110, 70);  // right and bottom are outside
    Release(50, 50);
    Move(50, 50);
    EXPECT_EQ(gLog, (std::vector<std::string>{"game key-down 120", "game key-down 120", "game left-down 110,70",
                                              "game left-up 50,50", "game move 50,50"}));
    EXPECT_EQ(GetKeyDownScene(), scene);

    // A scene with a scroll origin: the hotspot keeps its place on screen.
    CScene shifted(screen, 3 * 256, 12 * 256, 0, 0, 1);
    CActorHotspot spot(&shifted, CRect{10, 20, 110, 70}, 256, 'y');
    EXPECT_EQ(spot.bounds.left, 7);
    EXPECT_EQ(spot.bounds.top, 8);
    EXPECT_EQ(spot.GetRefPoint().x, 60 * 256 - 3 * 256);
}
