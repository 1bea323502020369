#pragma once
// The game's screen: the window's title, size and place, the asset archive,
// the play scene with the origin that fits the window mode, and the scene
// requests carried out between frames (closing dialogs, returning from the
// options, records and about scenes, restarting the game scene, quitting).

#include <string>
#include <vector>

#include "formats/MMidiFile.h"

#include "common/scene/CScreen.h"
#include "platform/core/ResultCodes.h"
#include "common/scene/CFixPoint.h"

// The asset archive's file name.
constexpr const char* kAssetArchiveName = "zanborassets.mm";

class CGameScreen : public CScreen {
public:
    // The window class style the screen asks for.
    static constexpr int kClassStyle = 43;
    // The play scene's origin in a window: the 800 x 600 layout shifted left
    // and up into the smaller client area by 3 and 12 pixels (24.8, as every
    // scene origin).
    static constexpr int kWindowedOriginX = ToFixed(3);
    static constexpr int kWindowedOriginY = ToFixed(12);

    CGameScreen();
    ~CGameScreen() override;

    // Opens the archive (asking the player if need be), hides the system
    // cursor and makes the play scene with its assets. 0; kResultAssetsGivenUp
    // when the archive was not opened; kResultPlayAssetsNotLoaded when it is
    // damaged (the player has been told).
    int CreateContent() override;
    int BeginContent() override;
    // 1 unless audioReady is set (nothing in the game sets it).
    int IsMusicOff() override;
    int IsSoundOff() override;
    // Carries out a pending request naming a scene instead of a frame.
    void Frame() override;
    // Says that the archive is damaged, as start-up does, then ends.
    void OnPicturesUnreadable() override;
    // The layout follows the mode at once: shifted into the window's smaller
    // drawing area in a window, not in full screen.
    void ToggleFullScreen() override;
    // A resized window fits the design again (see FitDesign).
    void OnSize(int width, int height) override;
    // A window of exactly the design's size shows the layout's window crop,
    // shifted by the windowed origin; any other window, and full screen, show
    // the whole 800 x 600 layout scaled and centred, margins in the table's
    // colour. Switches the device's window size and every scene's origin when
    // that changes.
    void FitDesign();
    bool ShowsWindowCrop() const;

    int classStyle = kClassStyle;

    // The origin the play scene gets for this window.
    void GameSceneOrigin(int* x, int* y) const;
    // Every instrument the game's tunes ask for (none when the archive's
    // tunes cannot be read).
    std::vector<MMidiInstrument> TuneInstruments();

private:
    // Makes the play scene and loads its assets: 0, or the load's failure.
    int MakeGameScene();
    void CloseDialog(CScene* dialog, int code, int resume);
    void CloseFrontEnd(CScene* frontEnd, int kind, int code, int resume);
    void RestartGameScene();
    // The damaged-archive message, naming the archive's file.
    void ReportDamagedArchive(const std::string& path);

    // Which of the two the window shows now: 1 the crop, 0 the whole layout, -1 not yet fitted.
    int designCropped = -1;
    int firstFrameReported = 0;
    int firstColourReported = 0;
};

// The start-up timeline: with ZANBOR_REPORT_STARTUP set, each step of the
// start and the first presented frame of the play scene are written to the
// standard error as "zanbor-startup <step> <monotonic clock in ns>".
namespace StartupReport {
void Mark(const char* step);
// A frame's step, at the moment the frame was presented.
void MarkPresent(const char* step);
}
