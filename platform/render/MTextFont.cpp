#include "platform/render/MTextFont.h"

#include <SDL.h>
#include <SDL_ttf.h>
#include <fontconfig/fontconfig.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

#include "platform/core/MStrings.h"
#include "platform/render/MTexture.h"

namespace {

constexpr int kFirstGlyph = 32;
constexpr int kLastGlyph = 126;
constexpr int kTrianglesPerBatch = 100;
constexpr float kDotsPerInch = 96.0f;

MFontManager* gFontManager = nullptr;
// A configuration of our own, not fontconfig's shared default: other
// libraries in the process (the window system's decorations) keep using the
// default and its caches after our fonts have found their files, so only what
// we loaded may be let go.
FcConfig* gFontLookup = nullptr;

// The file of the installed typeface that best answers name, weight and slant.
bool FindFontFile(const char* family, bool bold, bool italic, char* path, std::size_t size, int* index) {
    if (!gFontLookup) gFontLookup = FcInitLoadConfigAndFonts();
    if (!gFontLookup) return false;
    FcPattern* pattern = FcPatternCreate();
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(family));
    FcPatternAddInteger(pattern, FC_WEIGHT, bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
    FcPatternAddInteger(pattern, FC_SLANT, italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
    FcPatternAddBool(pattern, FC_SCALABLE, FcTrue);
    FcConfigSubstitute(gFontLookup, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    FcPattern* match = FcFontMatch(gFontLookup, pattern, &result);
    bool found = false;
    if (match) {
        FcChar8* file = nullptr;
        if (FcPatternGetString(match, FC_FILE, 0, &file) == FcResultMatch && file) {
            MStrings::Copy(path, size, reinterpret_cast<const char*>(file));
            if (FcPatternGetInteger(match, FC_INDEX, 0, index) != FcResultMatch) *index = 0;
            found = true;
        }
        FcPatternDestroy(match);
    }
    FcPatternDestroy(pattern);
    return found;
}

// Whether the matched face really has the asked weight and slant (otherwise SDL_ttf draws them).
int SyntheticStyle(TTF_Font* font, int flags) {
    int wanted = ((flags & kFontBold) ? TTF_STYLE_BOLD : 0) | ((flags & kFontItalic) ? TTF_STYLE_ITALIC : 0);
    const char* style = TTF_FontFaceStyleName(font);
    int present = 0;
    if (style && (std::strstr(style, "Bold") || std::strstr(style, "bold"))) present |= TTF_STYLE_BOLD;
    if (style && (std::strstr(style, "Italic") || std::strstr(style, "Oblique"))) present |= TTF_STYLE_ITALIC;
    return wanted & ~present;
}

}  // namespace

MTextFont::MTextFont(const char* fontName, int fontPoints, int fontFlags) : points(fontPoints), flags(fontFlags) {
    MStrings::Copy(name, sizeof name, fontName);
}

MTextFont::~MTextFont() {
    InvalidateDeviceObjects();
    DeleteDeviceObjects();
}

int MTextFont::TextureSizeFor(int fontPoints) { return fontPoints > 40 ? 1024 : fontPoints > 20 ? 512 : 256; }

int MTextFont::PixelHeightFor(int fontPoints, float scale) {
    return static_cast<int>(std::lround(fontPoints * kDotsPerInch * scale / 72.0f));
}

const float* MTextFont::GlyphCoords(int code) const {
    static const float kEmpty[4] = {0, 0, 0, 0};
    if (code < kFirstGlyph || code > kLastGlyph) return kEmpty;
    return glyphs[code - kFirstGlyph];
}

int MTextFont::InitDeviceObjects(SDL_Renderer* renderer) {
    device = renderer;
    // Glyphs are rendered at the output's scale, so that text is drawn one texel a pixel.
    MRenderDevice* renderDevice = MRenderDevice::Current();
    textScale = renderDevice ? static_cast<float>(std::min(renderDevice->GetOutputScale(), 4.0)) : 1.0f;
    int size = static_cast<int>(std::ceil(TextureSizeFor(points) * textScale));
    SDL_RendererInfo info{};
    if (renderer && SDL_GetRendererInfo(renderer, &info) == 0 && info.max_texture_width > 0 &&
        info.max_texture_width < size) {
        textScale *= static_cast<float>(info.max_texture_width) / static_cast<float>(size);
        size = info.max_texture_width;
    }
    texture.reset();

    if (!TTF_WasInit() && TTF_Init() != 0) return kResultFail;
    // The typeface is looked up once; drawing the glyphs again reads the same file.
    if (!fontFile[0] && !FindFontFile(name, flags & kFontBold, flags & kFontItalic, fontFile, sizeof fontFile,
                                      &faceIndex))
        return kResultFail;
    TTF_Font* font = TTF_OpenFontIndex(fontFile, PixelHeightFor(points, textScale), faceIndex);
    if (!font) return kResultFail;
    TTF_SetFontStyle(font, SyntheticStyle(font, flags));
    TTF_SetFontHinting(font, TTF_HINTING_NORMAL);
    const int glyphHeight = TTF_FontHeight(font);
    int advances[kLastGlyph - kFirstGlyph + 1] = {};
    for (int code = kFirstGlyph; code <= kLastGlyph; ++code)
        TTF_GlyphMetrics(font, static_cast<Uint16>(code), nullptr, nullptr, nullptr, nullptr,
                         &advances[code - kFirstGlyph]);
    const AtlasShape shape = ShapeAtlas(advances, kLastGlyph - kFirstGlyph + 1, glyphHeight, size);

    // Only the rows the glyphs fill are kept: the sides stay powers of two, so
    // that texture coordinates are exact fractions.
    texture = std::make_unique<MTexture>(shape.width, shape.height);
    textureWidth = texture->StoreWidth();
    textureHeight = texture->StoreHeight();
    int pitch = 0;
    auto* texels = static_cast<std::uint8_t*>(texture->Lock(nullptr, &pitch, 0));
    if (!texels) {
        texture.reset();
        TTF_CloseFont(font);
        return kResultFail;
    }
    for (int row = 0; row < textureHeight; ++row)
        std::memset(texels + row * pitch, 0, static_cast<std::size_t>(textureWidth) * 4);
    const bool sixteenBit = BitsPerPixel(texture->GetFormat()) == 16;

    // Characters in order, row by row, one pixel apart.
    const int across = shape.width, down = std::min(size, textureHeight);
    int x = 0, y = 0;
    for (int code = kFirstGlyph; code <= kLastGlyph; ++code) {
        const int advance = advances[code - kFirstGlyph];
        if (x + advance + 1 > across) {
            x = 0;
            y += glyphHeight + 1;
        }
        if (y + glyphHeight > down) break;  // the texture is full: the rest stay empty
        SDL_Surface* glyph = TTF_RenderGlyph_Blended(font, static_cast<Uint16>(code), SDL_Color{255, 255, 255, 255});
        if (glyph) {
            SDL_Surface* argb = SDL_ConvertSurfaceFormat(glyph, SDL_PIXELFORMAT_ARGB8888, 0);
            if (argb) {
                int w = std::min({argb->w, advance, across - x});
                int h = std::min({argb->h, glyphHeight, down - y});
                for (int gy = 0; gy < h; ++gy) {
                    const auto* source =
                        reinterpret_cast<const Uint32*>(static_cast<const Uint8*>(argb->pixels) + gy * argb->pitch);
                    std::uint8_t* target = texels + (y + gy) * pitch;
                    for (int gx = 0; gx < w; ++gx) {
                        // Four bits of coverage: white with that alpha, or nothing.
                        unsigned a = (source[gx] >> 28) & 0xF;
                        if (a == 0) continue;
                        if (sixteenBit) {
                            std::uint16_t texel = static_cast<std::uint16_t>((a << 12) | 0x0FFF);
                            std::memcpy(target + (x + gx) * 2, &texel, 2);
                        } else {
                            std::uint32_t texel = (a * 17u) << 24 | 0x00FFFFFFu;
                            std::memcpy(target + (x + gx) * 4, &texel, 4);
                        }
                    }
                }
                SDL_FreeSurface(argb);
            }
            SDL_FreeSurface(glyph);
        }
        float* coords = glyphs[code - kFirstGlyph];
        coords[0] = static_cast<float>(x) / static_cast<float>(textureWidth);
        coords[1] = static_cast<float>(y) / static_cast<float>(textureHeight);
        coords[2] = static_cast<float>(x + advance) / static_cast<float>(textureWidth);
        coords[3] = static_cast<float>(y + glyphHeight) / static_cast<float>(textureHeight);
        x += advance + 1;
    }
    TTF_CloseFont(font);
    texture->Unlock();
    // The glyphs are drawn again after a reset rather than kept twice.
    texture->DropCopy();
    glyphsLost = false;
    return 0;
}

MTextFont::AtlasShape MTextFont::ShapeAtlas(const int* advances, int count, int glyphHeight, int size) {
    auto powerOfTwo = [](int value) {
        int side = 1;
        while (side < value && side < (1 << 30)) side <<= 1;
        return side;
    };
    // The glyphs' rows within a width, one pixel apart as they are drawn.
    auto heightWithin = [&](int width) {
        int x = 0, y = 0;
        for (int i = 0; i < count; ++i) {
            if (x + advances[i] + 1 > width) {
                x = 0;
                y += glyphHeight + 1;
            }
            x += advances[i] + 1;
        }
        return y + glyphHeight;
    };
    // The old square's side caps the height: what did not fit it stays out.
    const int most = powerOfTwo(size);
    AtlasShape best{most, most};
    for (int width = most; width >= 64 && width * 4 >= most; width /= 2) {
        const int needed = heightWithin(width);
        if (needed > most) break;  // narrower ones need more still
        const int height = powerOfTwo(needed);
        if (width * height < best.width * best.height) best = AtlasShape{width, height};
    }
    return best;
}

int MTextFont::RestoreDeviceObjects() {
    if (!texture) return kResultFail;
    // Quads are built per call: the atlas is all there is to make again.
    if (!glyphsLost && texture->DeviceObject()) return 0;
    MRenderDevice* renderDevice = MRenderDevice::Current();
    return InitDeviceObjects(renderDevice && renderDevice->GetDevice() ? renderDevice->GetDevice() : device);
}

int MTextFont::InvalidateDeviceObjects() {
    glyphsLost = texture != nullptr;
    return 0;
}

int MTextFont::DeleteDeviceObjects() {
    texture.reset();
    device = nullptr;
    return 0;
}

int MTextFont::DrawText(float x, float y, D3DCOLOR colour, const char* text, std::uint32_t drawFlags) {
    if (!device || !texture || !texture->DeviceObject() || !text) return kResultFail;
    SDL_Texture* object = texture->DeviceObject();
    SDL_SetTextureScaleMode(object, (drawFlags & kTextFiltered) ? SDL_ScaleModeLinear : SDL_ScaleModeNearest);

    const SDL_Color tint{static_cast<Uint8>(colour >> 16), static_cast<Uint8>(colour >> 8),
                         static_cast<Uint8>(colour), static_cast<Uint8>(colour >> 24)};
    const float texelsPerPixel = 1.0f / textScale;
    const float rowHeight = (glyphs[0][3] - glyphs[0][1]) * static_cast<float>(textureHeight) * texelsPerPixel;
    std::vector<SDL_Vertex> batch;
    batch.reserve(kTrianglesPerBatch * 3);
    auto flush = [&] {
        if (!batch.empty()) SDL_RenderGeometry(device, object, batch.data(), static_cast<int>(batch.size()), nullptr, 0);
        batch.clear();
    };

    const float startX = x;
    for (const char* p = text; *p; ++p) {
        int code = static_cast<unsigned char>(*p);
        if (code == '\n' || code == '\r') {
            x = startX;
            y += rowHeight;
            continue;
        }
        if (code < kFirstGlyph) continue;
        const float* c = GlyphCoords(code);
        float w = (c[2] - c[0]) * static_cast<float>(textureWidth) * texelsPerPixel;
        float h = (c[3] - c[1]) * static_cast<float>(textureHeight) * texelsPerPixel;
        if (code != ' ' && w > 0) {
            // SDL samples texel centres at pixel centres, so no half-pixel shift is needed.
            SDL_Vertex a{{x, y}, tint, {c[0], c[1]}}, b{{x + w, y}, tint, {c[2], c[1]}};
            SDL_Vertex d{{x, y + h}, tint, {c[0], c[3]}}, e{{x + w, y + h}, tint, {c[2], c[3]}};
            batch.insert(batch.end(), {a, b, d, b, e, d});
            if (static_cast<int>(batch.size()) >= kTrianglesPerBatch * 3) flush();
        }
        x += w;
    }
    flush();
    return 0;
}

int MTextFont::GetTextExtent(const char* text, SIZE* size) {
    if (!text || !size) return kResultFail;
    const int rowHeight = static_cast<int>((glyphs[0][3] - glyphs[0][1]) * static_cast<float>(textureHeight));
    float widest = 0, line = 0;
    int rows = 1;
    for (const char* p = text; *p; ++p) {
        int code = static_cast<unsigned char>(*p);
        if (code == '\n' || code == '\r') {
            widest = std::max(widest, line);
            line = 0;
            ++rows;
            continue;
        }
        if (code < kFirstGlyph) continue;
        const float* c = GlyphCoords(code);
        line += (c[2] - c[0]) * static_cast<float>(textureWidth);
    }
    widest = std::max(widest, line);
    // In design pixels, whatever the scale the glyphs were rendered at.
    size->cx = static_cast<int>(widest / textScale);
    size->cy = static_cast<int>(rows * rowHeight / textScale);
    return 0;
}

MFontManager* MFontManager::Get() {
    if (!gFontManager) gFontManager = new MFontManager;
    return gFontManager;
}

void MFontManager::Free() {
    delete gFontManager;
    gFontManager = nullptr;
}

MFontManager::~MFontManager() {
    if (MRenderDevice* renderDevice = MRenderDevice::Current()) renderDevice->RemoveResetListener(this);
    for (auto& font : fonts) font.reset();
    if (TTF_WasInit()) TTF_Quit();
}

int MFontManager::AddFont(const char* fontName, int fontPoints, int fontFlags) {
    if (fontCount >= kMaxFonts) return kResultFontTableFull;
    auto font = std::make_unique<MTextFont>(fontName, fontPoints, fontFlags);
    MRenderDevice* renderDevice = MRenderDevice::Current();
    if (renderDevice && fontCount == 0) renderDevice->AddResetListener(this);
    // A font that fails keeps no texture and draws nothing; it still takes its slot.
    font->InitDeviceObjects(renderDevice ? renderDevice->GetDevice() : nullptr);
    font->RestoreDeviceObjects();
    fonts[fontCount++] = std::move(font);
    return 0;
}

int MFontManager::ReleaseDeviceObjects() {
    for (int i = 0; i < fontCount; ++i)
        if (int result = fonts[i]->InvalidateDeviceObjects(); result != 0) return result;
    return 0;
}

void MFontManager::OnOutputScaleChanged(double) {
    MRenderDevice* renderDevice = MRenderDevice::Current();
    for (int i = 0; i < fontCount; ++i) fonts[i]->InitDeviceObjects(renderDevice ? renderDevice->GetDevice() : nullptr);
}

int MFontManager::RestoreDeviceObjects() {
    for (int i = 0; i < fontCount; ++i)
        if (int result = fonts[i]->RestoreDeviceObjects(); result != 0) return result;
    return 0;
}

void MFontManager::ReleaseFontLookup() {
    if (!gFontLookup) return;
    FcConfigDestroy(gFontLookup);
    gFontLookup = nullptr;
}

MTextFont* MFontManager::Font(int index) { return index >= 0 && index < fontCount ? fonts[index].get() : nullptr; }
