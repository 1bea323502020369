#pragma once
// The desktop's clipboard, behind an abstract base so that the game reaches it
// the same way on every platform (and a test can stand in for it).

#include <string>

// Whether a copy reached the clipboard, and why not when it did not.
struct ClipboardResult {
    bool copied = false;
    std::string reason;
};

class BClipboard {
public:
    virtual ~BClipboard() = default;
    // Puts UTF-8 text on the clipboard, replacing what was there.
    virtual ClipboardResult CopyText(const std::string& text) = 0;
};

// The clipboard in use (never null); passing null restores the system's.
BClipboard* GetClipboard();
void SetClipboard(BClipboard* clipboard);
