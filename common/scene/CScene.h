#pragma once
// A scene: one screenful of actors with its own clocks, pause state, input
// handlers and lifecycle hooks. All live scenes form one process-wide list in
// creation order (oldest first); each frame all of them are updated, drawn and
// ticked in that order, and input goes to the newest one, the top scene.

#include <cstdint>
#include <memory>

#include "common/scene/CMouseEvent.h"
#include "common/scene/CRect.h"

class CActor;
class CActorFade;
class CCollisionMgr;
class CScreen;
class CSprite;

// The largest time step a frame gives, in ticks of 1/256 second.
constexpr int kMaxStepTicks = 25;

// Virtual-key codes of the default key handling.
constexpr int VK_PAUSE_KEY = 19;
constexpr int VK_ESCAPE_KEY = 27;
constexpr int VK_PAGE_UP = 33;
constexpr int VK_PAGE_DOWN = 34;
constexpr int VK_NUMPAD3_KEY = 99;
constexpr int VK_NUMPAD9_KEY = 105;

class CScene {
public:
    // originX and originY are the scroll origin in 24.8. A redrawMode of 3
    // keeps the current mode. Appends the scene to the list, releases any
    // mouse capture and restarts the game clock at 0.
    CScene(CScreen* screen, int originX, int originY, int redrawMode, int userValue, int collisionOrder);
    CScene(const CScene&) = delete;
    CScene& operator=(const CScene&) = delete;

    // Virtual operations in slot order.
    virtual void OnLeftDown(int x, int y);                     // 0
    virtual void OnLeftDoubleClick(int x, int y);              // 1
    virtual void OnRightDown(int x, int y);                    // 2
    virtual void OnRightDoubleClick(int x, int y);             // 3
    virtual void OnLeftUp(int x, int y);                       // 4
    virtual void OnRightUp(int x, int y);                      // 5
    virtual void OnMouseMove(int x, int y);                    // 6
    virtual void OnNonClientMouseMove(int x, int y);           // 7
    virtual void ChangeScene(CScene* scene, int code);         // 8
    virtual void OnDialogClosed(CScene* dialog, int result);   // 9
    virtual void Suspend();                                    // 10
    virtual void Resume();                                     // 11
    virtual int OnSysKeyUp(int key);                           // 12
    virtual int OnSysKeyDown(int key);                         // 13
    virtual int OnKeyUp(int key);                              // 14
    virtual int OnKeyDown(int key);                            // 15
    virtual void SpareHook16();                                // 16
    virtual void LoadAssets();                                 // 17
    virtual int Begin();                                       // 18
    virtual void FreeAssets();                                 // 19
    virtual void SetSoundVolume(int volume);                   // 20
    virtual void Tick();                                       // 21
    virtual void Draw();                                       // 22
    virtual int ShowSecondOverlay();                           // 23
    virtual int PagedOverlayPrevious();                        // 24
    virtual int PagedOverlayNext();                            // 25
    virtual void CloseSecondOverlay();                         // 26
    virtual void ClosePagedOverlay();                          // 27
    virtual int OnEscape();                                    // 28
    virtual ~CScene();                                         // 29
    virtual int CanResumeMusic();                              // 30
    virtual void SpareHook31();                                // 31
    virtual void Pause(int showPicture);                       // 32
    virtual void Unpause();                                    // 33
    virtual void TogglePause(int showPicture);                 // 34
    // 1 when the other scene is shown by the same screen as this one.
    virtual int SharesScreen(const CScene* other);             // 35
    // The ticks for which this scene's frames change nothing unless told to:
    // the least of its actors' (CActor::IdleTicks; timed ones count only
    // while its time runs), and of its own timers in a derived scene.
    virtual int IdleTicks();

    // The actor list, sorted by depth ascending.
    void AddActor(CActor* actor);
    void RemoveActor(CActor* actor);
    // Re-inserts an actor that is out of order with a neighbour; 1 if it moved.
    int Resort(CActor* actor);
    // A redraw request for a region (null: everything). Redraw mode 0 redraws
    // the whole frame, so only the fact is kept: the next frame is drawn.
    void Invalidate(const CRect* rect);
    void ResetActors(int a, int b);
    void SetViewport(const CRect& rect);

    // The scene's fade actor, if any.
    void FadeOut();
    void FadeTo(int random, std::uint32_t colour);
    int IsCovering();
    // The fade is covering the scene or has covered it: the scene is giving
    // way to another and takes no more keys or clicks.
    int IsLeaving();

    // Routes one mouse event through this scene's actors, nearest first, then
    // to the top scene's handlers.
    int Dispatch(const CMouseEvent& event);

    // The two halves of a frame for this scene.
    void UpdateActors();
    // Draws the actors overlapping rect, far to near.
    void DrawActors(const CRect& rect);
    // Marks the actors DrawActors would draw as drawn, drawing nothing: the
    // collisions of a frame that shows no change see the same actors.
    void MarkDrawnActors(const CRect& rect);

    // The game clock in ticks.
    static int Now();
    // The size of the render target (the device's back buffer, or the
    // screen's client area when there is no device).
    void GetTargetSize(int* width, int* height) const;

    // The process-wide scene list.
    static CScene* First();
    static CScene* Last();  // the top scene
    CScene* Previous() const { return previous; }
    CScene* Next() const { return next; }
    CActor* FirstActor() const { return actorFirst; }
    // A new scroll origin (24.8): every actor keeps its place on the layout,
    // so the whole scene is drawn shifted by the change.
    void SetOrigin(int x, int y);
    CActor* LastActor() const { return actorLast; }

    // One frame of every scene: update, draw (skipped when the device cannot
    // begin a frame), tick.
    static void RunFrame();
    static void UpdateAll();
    // Draws and presents a frame when anything changed since the last one
    // (see NeedsDrawing); otherwise waits for the next frame time without
    // drawing. 1 when a frame was drawn and presented.
    static int DrawAll();
    // Something on screen changed since the last presented frame: an actor
    // invalidated, a fade is running, or the device must rebuild its objects.
    static int NeedsDrawing();
    // The next frame is drawn whatever changed.
    static void ForceRedraw();
    static void TickAll();
    // How many ticks from now the frames may stop: 0 while anything changes
    // (or may, or did in the last frame), kIdleForever when nothing is timed.
    // A positive answer lets the next frame's clocks step over that wait.
    static int IdleTicksOfAll();
    // Whether the next frame's clocks may step over a wait (until it runs).
    static bool IsStepCoveringAWait();
    // Input or a request came in: the next frame runs before any wait.
    static void NoteActivity();

    CScene* previous = nullptr;
    CScene* next = nullptr;
    int userValue = 0;
    int scaleX = 256;
    int scaleY = 256;
    int originX = 0;
    int originY = 0;
    CActor* actorFirst = nullptr;
    CActor* actorLast = nullptr;
    std::unique_ptr<CCollisionMgr> collisionManager;
    int actorStep = 0;
    int actorClock = 0;
    int sceneStep = 0;
    int sceneClock = 0;
    int actorTime = 0;
    CScreen* screen = nullptr;
    CRect viewport{0, 0, 0, 0};
    int redrawMode = 0;
    int sceneId = 0;
    int scaled = 0;
    int paused = 0;
    int pauseAllowed = 1;
    int running = 0;
    int pagedOverlayShown = 0;
    int secondOverlayShown = 0;
    int suspended = 0;
    int leftButtonDown = 0;
    int rightButtonDown = 0;
    int userPaused = 0;
    int openDialogs = 0;  // dialog scenes alive over this scene
    CActorFade* fade = nullptr;
    CActor* pagedOverlayActor = nullptr;
    CActor* secondOverlayActor = nullptr;
    std::unique_ptr<CSprite> pagedOverlayFrame;
    std::unique_ptr<CSprite> secondOverlayFrame;

protected:
    // 1 while no time passes for this scene: paused, suspended, or its
    // screen inactive or minimised.
    int IsTimeStopped() const;
    // One clock step: the ticks since *clock, 0 while time is stopped,
    // at most kMaxStepTicks and never negative.
    int StepClock(int* clock, int* primed);
    // Kills an overlay actor and frees its picture.
    static void CloseOverlay(CActor*& actor, std::unique_ptr<CSprite>& frame);

private:
    // The first step of each clock after construction is 0, however long the
    // scene took to load.
    int actorClockPrimed = 0;
    int sceneClockPrimed = 0;
};
