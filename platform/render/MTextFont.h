#pragma once
// Text in a system typeface: the printable ASCII characters rendered into one
// texture (again after a renderer reset), then drawn as textured quads in
// design pixels.

#include <cstdint>
#include <memory>

#include "platform/render/MGraphicsTypes.h"
#include "platform/render/MRenderDevice.h"
#include "platform/core/ResultCodes.h"

struct SDL_Renderer;
class MTexture;

// Style flags of a font.
constexpr int kFontBold = 1;
constexpr int kFontItalic = 2;
constexpr int kFontDepthTest = 4;

// DrawText flag: smooth (linear) filtering instead of nearest pixels.
constexpr std::uint32_t kTextFiltered = 4;

struct SIZE {
    int cx;
    int cy;
};

class MTextFont {
public:
    MTextFont(const char* name, int points, int flags);
    ~MTextFont();
    MTextFont(const MTextFont&) = delete;
    MTextFont& operator=(const MTextFont&) = delete;

    // Renders the glyphs into the font's texture; 0 or kResultFail.
    int InitDeviceObjects(SDL_Renderer* device);
    int RestoreDeviceObjects();
    int InvalidateDeviceObjects();
    int DeleteDeviceObjects();

    // Draws text with its top-left corner at (x, y): newline and carriage return
    // go back to x one row lower; codes below 32 are skipped.
    int DrawText(float x, float y, D3DCOLOR colour, const char* text, std::uint32_t flags);
    // Width of the widest line and the height of all rows (at least one).
    int GetTextExtent(const char* text, SIZE* size);

    // The side of the square the glyphs are laid out in at 1x, for a size in
    // points: 1024 above 40, 512 above 20, else 256.
    static int TextureSizeFor(int points);
    // Pixel height of the typeface at 96 dots per inch (rounded as MulDiv rounds).
    static int PixelHeightFor(int points, float textScale);
    // The atlas's sides for glyphs of these advances and height: powers of two
    // of the least area that holds them in rows one pixel apart, none above the
    // square of side size rounded up (which holds what it can).
    struct AtlasShape {
        int width;
        int height;
    };
    static AtlasShape ShapeAtlas(const int* advances, int count, int glyphHeight, int size);

    int GetTextureWidth() const { return textureWidth; }
    int GetTextureHeight() const { return textureHeight; }
    float GetTextScale() const { return textScale; }
    const MTexture* GetTexture() const { return texture.get(); }
    // Texture coordinates of a character (left, top, right, bottom); zeros outside 32..126.
    const float* GlyphCoords(int code) const;
    // The file the typeface was found in (empty when none was found).
    const char* GetFontFile() const { return fontFile; }

    char name[80];
    int points;
    int flags;

private:
    SDL_Renderer* device = nullptr;
    std::unique_ptr<MTexture> texture;  // no CPU copy: a reset draws the glyphs again
    bool glyphsLost = false;            // a reset began since they were drawn
    int textureWidth = 0;
    int textureHeight = 0;
    float textScale = 1.0f;
    float glyphs[128 - 32][4] = {};
    char fontFile[512] = {};
    int faceIndex = 0;  // within fontFile
};

// Holds the process's text fonts; the render device tells it about resets.
class MFontManager : public MDeviceResetListener {
public:
    static constexpr int kMaxFonts = 8;

    static MFontManager* Get();
    // Frees every font and the manager (the application does this before the renderer goes).
    static void Free();

    // kResultFontTableFull when eight fonts exist; otherwise the font is made and kept, 0.
    int AddFont(const char* name, int points, int flags);
    int ReleaseDeviceObjects() override;
    int RestoreDeviceObjects() override;
    // Renders every font's glyphs again at the new scale.
    void OnOutputScaleChanged(double scale) override;
    MTextFont* Font(int index);
    int GetFontCount() const { return fontCount; }
    // The fonts have found their files: the font configuration they were
    // looked up in is let go (a font added later loads it again). The
    // library's shared state stays, for other users in the process.
    static void ReleaseFontLookup();

    ~MFontManager() override;

private:
    MFontManager() = default;

    std::unique_ptr<MTextFont> fonts[kMaxFonts];
    int fontCount = 0;
};
