#pragma once
// A bitmap font: one sprite frame per character, for a run of codes starting at
// the first character. Glyph i shows character firstChar + i.

#include "common/actors/CSpriteA.h"

class CFileMM;
class CSprite;

class CFont : public CSpriteArray {
public:
    CFont(int firstChar, int capacity, int spacing, int fixedWidth);

    // Reads the glyphs (textures) and measures them. 0, or the error of Load.
    int LoadGlyphs(CFileMM& archive, int n);

    // maxWidth for characters outside the font, else the glyph's width.
    int Advance(int ch) const;
    // The glyph of a character, or null outside the font.
    CSprite* Glyph(int ch) const;
    // The width of text up to its end, a line feed or maxChars characters: the
    // sum of advances and spacing, or with widestOnly the largest advance.
    int TextWidth(const char* text, int widestOnly, int maxChars) const;
    // Draws a line of text with its top-left corner at (x, y): a space moves by
    // maxWidth, a carriage return starts the next row. Returns the pen's x.
    int DrawText(int x, int y, const char* text, int maxChars) const;

    int firstChar = 0;
    int lineHeight = 0;
    int baseOffset = 0;
    int maxWidth = 0;
    int spacing = 0;
    int fixedWidth = 0;
};

// Reads an "anim" chunk of glyphs into a new font; null when the glyphs cannot
// be stored. Another chunk kind throws CFileException ("common/CFont", 88).
CFont* LoadFont(int firstChar, CFileMM& archive, int spacing, int fixedWidth);
