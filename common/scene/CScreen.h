#pragma once
// The program's one window as the engine sees it: it owns the current scene,
// the asset archive and the music; runs the frame of all scenes; turns window
// messages into engine events; keeps the game clock and the music in step with
// activation and minimising; and carries scene-change requests to the derived
// screen, which performs them in its Frame.

#include <chrono>
#include <memory>

#include "common/scene/CMouseEvent.h"
#include "platform/window/MWindow.h"
#include "platform/core/ResultCodes.h"

class CFileMM;
class COptions;
class CScene;
class MMusicSegment;
class MSound;

// The request code that quits the program.
constexpr int kRequestQuit = 99;

// Any object the derived screen wants destroyed with the screen.
class CScreenOwned {
public:
    virtual ~CScreenOwned() = default;
};

class CScreen : public MWindow {
public:
    CScreen();
    ~CScreen() override;

    // Window operations in their slot order, as the screen fills them.
    void OnDestroy() override;
    void OnClose() override;
    void OnSize(int width, int height) override;
    void OnMove(int x, int y) override;
    void OnMouseMove(int x, int y) override;
    void OnNcMouseMove(int x, int y) override;
    void OnLButtonDown(int x, int y) override;
    void OnLButtonDblClk(int x, int y) override;
    void OnRButtonDown(int x, int y) override;
    void OnRButtonDblClk(int x, int y) override;
    void OnLButtonUp(int x, int y) override;
    void OnRButtonUp(int x, int y) override;
    int OnKeyDown(int key) override;
    int OnKeyUp(int key) override;
    int OnSysKeyDown(int key) override;
    // Switches at once and stores the choice as the Fullscreen option.
    void ToggleFullScreen() override;
    int OnSysKeyUp(int key) override;
    void InvalidateAll() override;
    void OnActivate(int state) override;
    int OnSetCursor() override;
    void OnEnterSizeMove() override;
    void OnExitSizeMove() override;
    // Runs the frame of all scenes unless a scene request waits.
    void Frame() override;
    // Until the scenes' next timed change (none while a request waits).
    int IdleMilliseconds() override;
    void BeforeInput() override;

    // The screen's own operations in slot order.
    // Opens the archive, creates the first scene and loads its assets.
    virtual int CreateContent() = 0;
    virtual int BeginContent();
    // Frees the current scene's assets, the archive, the shared objects and
    // the scenes.
    virtual void Release();
    // A scene change to be carried out by the derived screen's Frame; a null
    // scene names the current one. Code 99 quits.
    virtual void RequestScene(CScene* requested, int code, int resume);
    virtual int IsMusicOff();
    virtual int IsSoundOff();
    virtual void SpareHook41();
    // The draw step alone, unless a scene request waits.
    virtual void Draw();
    // The pictures could not be read again (at a new density, or after the
    // renderer lost them): the game cannot go on. Ends the program.
    virtual void OnPicturesUnreadable();

    void HideSystemCursor();
    // Reads a "wave" chunk at the archive's position into a new sound.
    // 0, or kResultScreenLoadFailed when the sound manager cannot make it; another chunk kind
    // throws CFileException ("common/CScreen", 460).
    int LoadSound(MSound** sound, CFileMM* from);
    // Replaces the music with the "midi" chunk at the archive's position.
    // 0, or kResultScreenLoadFailed; another chunk kind throws CFileException ("common/CScreen", 515).
    int LoadMusic(CFileMM* from);
    // Starts the music from the beginning if it is not playing: 0, or
    // kResultMusicNotStarted.
    int PlayMusic(int loop);
    void PauseMusic();
    void ResumeMusic();
    void ToggleMusic();
    void StopMusic();
    void SetMusicVolume(float volume);

    // 1 while the window is minimised (as this screen or the window saw it).
    int IsWindowMinimised() const { return minimised || IsMinimised(); }
    // The options record's "Fullscreen at start" (0 without a record).
    int IsFullScreenMode();
    // The options record of the application, or null.
    static COptions* Options();

    int leftButtonDown = 0;
    int rightButtonDown = 0;
    int audioReady = 0;
    int contentFlag = 1;  // set by the derived screen; not read here
    int requestPending = 0;
    int requestResume = 0;
    int musicPaused = 1;
    int minimised = 0;
    int requestCode = 0;
    std::unique_ptr<MMusicSegment> music;
    std::unique_ptr<CFileMM> archive;
    // The density of pictures the frames were last brought to (0: not yet).
    int pictureDensity = 0;
    double pictureScale = 0.0;  // and the scale they were brought to
    // A new scale waiting to hold still (a window edge being dragged) before
    // the pictures are brought to it, and since when it has held.
    double pendingScale = 0.0;
    std::chrono::steady_clock::time_point pendingSince{};
    std::unique_ptr<CScreenOwned> sharedA;
    std::unique_ptr<CScreenOwned> sharedB;
    std::unique_ptr<CScene> scene;
    CScene* requestedScene = nullptr;
    CMouseEvent event;

protected:
    // Stores the event and hands it to the scenes.
    void DeliverMouseEvent(int type, int x, int y);
    // Deletes the scenes made over the current one (newest first), then the
    // current scene.
    void DeleteScenes();
    // The music setting is "off" (-1).
    int IsMusicSettingOff();
};
