#include "common/actors/CFont.h"

#include <algorithm>
#include <new>

#include "formats/CFileMM.h"
#include "common/actors/CSprite.h"
#include "platform/core/CException.h"

namespace {

constexpr const char* kUnit = "common/CFont";

}  // namespace

CFont::CFont(int first, int capacity, int space, int fixed)
    : CSpriteArray(capacity), firstChar(first & 0xFF), spacing(space), fixedWidth(fixed) {}

int CFont::LoadGlyphs(CFileMM& archive, int n) {
    int result = Load(archive, n, 1);
    if (result != 0) return result;
    if (CSprite* first = Get(0)) {
        lineHeight = first->h;
        baseOffset = first->oy;
    }
    maxWidth = 0;
    for (int i = 0; i < capacity && Get(i); ++i) maxWidth = std::max(maxWidth, Get(i)->w);
    return 0;
}

int CFont::Advance(int ch) const {
    ch &= 0xFF;
    if (ch < firstChar || ch - firstChar > count - 1) return maxWidth;
    CSprite* glyph = Get(ch - firstChar);
    return glyph ? glyph->w : maxWidth;
}

CSprite* CFont::Glyph(int ch) const {
    ch &= 0xFF;
    if (ch < firstChar || ch - firstChar >= capacity) return nullptr;
    return Get(ch - firstChar);
}

int CFont::TextWidth(const char* text, int widestOnly, int maxChars) const {
    if (!text) return 0;
    int width = 0;
    for (int i = 0; text[i] != '\0' && text[i] != '\n' && i < maxChars; ++i) {
        int ch = static_cast<unsigned char>(text[i]);
        if (widestOnly)
            width = std::max(width, Advance(ch));
        else
            width += (fixedWidth ? maxWidth : Advance(ch)) + spacing;
    }
    return width;
}

int CFont::DrawText(int x, int y, const char* text, int maxChars) const {
    if (!text) return x;
    const int lineStart = x;
    for (int i = 0; text[i] != '\0' && i < maxChars; ++i) {
        int ch = static_cast<unsigned char>(text[i]);
        if (ch == ' ') {
            x += maxWidth;
            continue;
        }
        if (ch == '\r') {
            x = lineStart;
            y += lineHeight;
            continue;
        }
        int width = fixedWidth ? maxWidth : Advance(ch);
        if (CSprite* glyph = Glyph(ch)) {
            RECT dest{x, y, x + width, y + lineHeight};
            glyph->DrawFrame(&dest, nullptr, 0);
        }
        x += width + spacing;
    }
    return x;
}

CFont* LoadFont(int firstChar, CFileMM& archive, int spacing, int fixedWidth) {
    ChunkHeader header;
    archive.ReadChunkHeader(&header);
    if (header.id != kIdAnim) throw CFileException(kUnit, 88);
    // The count sizes the glyph table: it must fit the bytes the chunk holds.
    const int n = ReadFrameCount(archive, kUnit, 88);
    if (n < 0) throw CFileException(kUnit, 88);
    CFont* font = new (std::nothrow) CFont(firstChar, n, spacing, fixedWidth);
    if (!font) throw CMemException(kUnit, 97);
    try {
        if (font->LoadGlyphs(archive, n) != 0) {
            delete font;
            return nullptr;
        }
    } catch (...) {
        delete font;
        throw;
    }
    archive.Ascend();
    return font;
}
