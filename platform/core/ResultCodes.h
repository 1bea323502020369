#pragma once
// The engine's result codes. Operations of the platform layer, the loaders and
// the scenes return an int: 0 for success, otherwise one of these. Every code
// is named here and only here, so that one number never means two names.

// A sprite array could not grow to take a frame; music could not be loaded.
constexpr int kResultArrayOrMusicFailed = 3;
// The player gave up locating the asset archive.
constexpr int kResultAssetsGivenUp = 6;
// A file to be read does not exist (opened for reading, or the archive not found).
constexpr int kResultNoFileToRead = 7;
// A file does not exist (existence test).
constexpr int kResultNoSuchFile = 8;
// The window could not be made.
constexpr int kResultNoWindowClass = 11;

// The render device.
constexpr int kResultNoRuntime = 12;       // no graphics runtime
constexpr int kResultNoDisplayMode = 13;   // the display mode could not be read
constexpr int kResultNoDevice = 14;        // the device could not be created
constexpr int kResultDeviceLost = 15;      // the device is lost and could not be rebuilt
constexpr int kResultNoBackBuffer = 16;    // the back buffer is not available
constexpr int kResultSurfaceFileFailed = 17;  // a surface could not be loaded from a file

// The play scene's assets (pictures, dice, sheet) could not be loaded.
constexpr int kResultPlayAssetsNotLoaded = 18;

constexpr int kResultPresentFailed = 19;   // presenting the frame failed
constexpr int kResultBeginFailed = 20;     // beginning a frame failed
constexpr int kResultEndFailed = 21;       // ending a frame failed

// The canvases and the image decoder.
constexpr int kResultSurfaceLockFailed = 24;    // a surface could not be locked
constexpr int kResultTextureLockFailed = 25;    // a texture could not be locked
constexpr int kResultUnsupportedImage = 28;     // an image kind the decoder does not read
constexpr int kResultNoImage = 29;              // no image to build from
constexpr int kResultSurfaceCreateFailed = 30;  // a surface could not be created
constexpr int kResultTextureCreateFailed = 31;  // a texture could not be created
constexpr int kResultNoSpriteDrawer = 32;       // the sprite drawer could not be created
constexpr int kResultDrawFailed = 36;           // a sprite could not be drawn
constexpr int kResultCopyFailed = 37;           // the back-buffer copy failed

// The font table is full.
constexpr int kResultFontTableFull = 39;

// Sounds and music.
constexpr int kResultSoundNotRestored = 61;  // no buffers, or a lost buffer not restored or refilled
constexpr int kResultScreenLoadFailed = 62;  // the screen could not load a sound or music
constexpr int kResultSoundNotPlayed = 63;    // a sound could not be played
constexpr int kResultSoundNotStopped = 66;   // a sound could not be stopped
constexpr int kResultPlaySoundNotRead = 68;  // a sound of the play scene could not be read
constexpr int kResultMusicNotStarted = 71;   // the music could not be started
