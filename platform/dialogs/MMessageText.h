#pragma once
// Message texts laid out for a system message box, which shows each line of its
// text as one line however wide: the lines are broken here to fit the desktop.
//
// The box's font is the desktop's (an X core font, say) and cannot be measured
// from here, so widths are a generous estimate: every character counts as
// wide as the broad proportional dialog fonts draw the average one.

#include <string>

// Estimated width in pixels of one line of text (UTF-8) in a message box.
int MessageTextWidth(const std::string& line);

// The width the lines of a message may take on a desktop this wide: the box,
// its margins included, stays within 60% of the desktop.
int MessageLineWidth(int desktopWidth);

// The text with its lines broken at blanks so that each is at most maxWidth
// wide (estimated). The blanks at a break are dropped, the text's own line
// breaks are kept, and a word longer than a line (a path) is broken after a
// '/' where it has one, else where the line is full.
std::string WrapMessageText(const std::string& text, int maxWidth);
