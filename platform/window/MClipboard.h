#pragma once
// The clipboard of SDL's video subsystem (the desktop's, or SDL's own store
// on a display without one).

#include "platform/window/BClipboard.h"

class MClipboard : public BClipboard {
public:
    ClipboardResult CopyText(const std::string& text) override;
};
