#include "common/widgets/CActorButton.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "common/actors/CFont.h"
#include "common/scene/CInputRouting.h"
#include "common/scene/CScene.h"
#include "common/actors/CSprite.h"
#include "common/actors/CSpriteA.h"
#include "platform/render/MRenderDevice.h"
#include "platform/render/MTextFont.h"

namespace {

// The label sits this far inside a frameless button's rectangle.
constexpr int kLabelInset = 8;
constexpr D3DCOLOR kDisabledGrey = 0xFFBFBFBFu;
constexpr D3DCOLOR kShadowBlack = 0xFF000000u;
constexpr D3DCOLOR kShadowWhite = 0xFFFFFFFFu;
constexpr int kBevelWidth = 2;
constexpr D3DCOLOR kBevelColour = 0xFFFFFFFFu;
constexpr int kBevelRaised = 1;
constexpr int kBevelSunken = 2;

MTextFont* SystemFont(int index) { return MFontManager::Get()->Font(index); }

SIZE SystemExtent(int index, const char* text) {
    SIZE size{0, 0};
    if (MTextFont* font = SystemFont(index)) font->GetTextExtent(text, &size);
    return size;
}

// Light label colours get a black shadow, dark ones a white one.
bool IsLight(D3DCOLOR colour) {
    const int sum = static_cast<int>((colour >> 16) & 0xFF) + static_cast<int>((colour >> 8) & 0xFF) +
                    static_cast<int>(colour & 0xFF);
    return sum > 256;
}

}  // namespace

CActorButton::CActorButton(const CTextRecord& textRecord, const CButtonRecord& buttonRecord, CScene* owner, int px,
                           int py, int pz, CSpriteArray* pictures, int base)
    : CActor(owner, px, py, pz, kCollisionNone, kShapeRectangle), frames(pictures), baseIndex(base) {
    mode = buttonRecord.mode;
    key = buttonRecord.key;
    mouseEnabled = buttonRecord.mouseEnabled;
    rectColour = buttonRecord.rectColour;
    plainRect = buttonRecord.plainRect;
    digits = buttonRecord.digits;
    TakeTextRecord(textRecord);
    // A number display starts showing 0 (the formatted zero is one digit).
    AllocateText(digits != 0 ? "0" : textRecord.text);
    RecalcBounds();
    if (!hidden) InvalidateBounds();
}

CActorButton::~CActorButton() = default;

void CActorButton::TakeTextRecord(const CTextRecord& record) {
    maxLength = std::max(0, record.maxLength);
    hAlign = record.hAlign;
    vAlign = record.vAlign;
    font = record.font;
    systemFontIndex = record.systemFontIndex;
    colour = record.colour;
    shadow = record.shadow;
    vertical = record.vertical;
}

void CActorButton::AllocateText(const char* string) {
    // The new buffer is filled before the old one goes: string may be the
    // button's own label.
    std::unique_ptr<char[]> old = std::move(text);
    text = std::make_unique<char[]>(static_cast<std::size_t>(maxLength) + 1);
    CopyText(string);
}

void CActorButton::CopyText(const char* string) {
    const std::size_t length = string ? strnlen(string, static_cast<std::size_t>(maxLength)) : 0;
    // memmove: string may be part of the label itself.
    if (length) std::memmove(text.get(), string, length);
    text[length] = '\0';
}

void CActorButton::SetText(const char* string) {
    InvalidateBounds();
    CopyText(string);
    RecalcBounds();
    InvalidateBounds();
}

void CActorButton::SetTextRecord(const CTextRecord& record) {
    InvalidateBounds();
    TakeTextRecord(record);
    AllocateText(record.text);
    RecalcBounds();
    InvalidateBounds();
}

void CActorButton::SetState(int s) {
    if (mode == kButtonPlain && scene && scene->paused) return;
    if (s == state) return;
    InvalidateBounds();
    state = static_cast<std::int16_t>(s);
    RecalcBounds();
    InvalidateBounds();
    disabled = s == kStateDisabled ? 1 : 0;
}

int CActorButton::GetStateCount() const {
    if (frames) return frames->GetCount();
    if (!plainRect) return 1;
    return mode == kButtonPlain ? 2 : 3;
}

void CActorButton::ReleaseVisual() {
    if (mode != kButtonPlain && !disabled && state == kStateDown) SetState(kStateUp);
}

CSprite* CActorButton::GetSprite() { return frames ? frames->Get(baseIndex + state) : nullptr; }

int CActorButton::WantsMouse(const CMouseEvent& event) {
    if (hidden || !mouseEnabled) return 0;
    return event.type == MOUSE_LEFT_DOWN || event.type == MOUSE_LEFT_UP ? 1 : 0;
}

int CActorButton::OnMouse(const CMouseEvent& event) {
    if (event.type == MOUSE_LEFT_DOWN) {
        const int count = GetStateCount();
        switch (mode) {
        case kButtonPush:
            if (!disabled) {
                if (state + 1 >= count) return 0;
                SetState(state + 1);
                SetCapture(this);
            }
            break;
        case kButtonLatch:
            if (!disabled) {
                if (count <= 1) return 0;
                SetState(kStateDown);
            }
            break;
        case kButtonToggle:
            if (disabled) return 0;
            SetState(count > 1 && state == kStateUp ? kStateDown : kStateUp);
            break;
        default:
            break;
        }
        if (disabled) return 0;
        if (key != 0) {
            DeliverKeyDown(key);
            return 1;
        }
        return 0;
    }
    if (event.type == MOUSE_LEFT_UP) {
        if (GetCaptureActor() != this) return 0;
        // Only a release over the button counts as a click.
        if (RectContains(bounds, event.x, event.y) && key != 0) DeliverKeyUp(key);
        ReleaseVisual();
        SetCapture(nullptr);
        return 1;
    }
    return 0;
}

void CActorButton::MeasureLabel(int* width, int* height) const {
    const char* label = text.get();
    const int length = static_cast<int>(std::strlen(label));
    int w = 0, h = 0;
    if (font) {
        if (vertical) {
            w = font->TextWidth(label, 1, length);
            h = length * (font->lineHeight + font->spacing);
        } else {
            // Measured as drawn: a space moves the pen by the widest glyph alone.
            for (int i = 0; i < length; ++i) {
                const int ch = static_cast<unsigned char>(label[i]);
                w += ch == ' ' ? font->maxWidth : font->Advance(ch) + font->spacing;
            }
            h = font->lineHeight;
        }
    } else if (vertical) {
        for (int i = 0; i < length; ++i) {
            const char one[2] = {label[i], '\0'};
            const SIZE size = SystemExtent(systemFontIndex, one);
            w = std::max(w, size.cx);
            h += size.cy;
        }
    } else {
        const SIZE size = SystemExtent(systemFontIndex, label);
        w = size.cx;
        h = size.cy;
    }
    *width = w;
    *height = h;
}

void CActorButton::PlaceLabel(int width, int height) {
    switch (hAlign) {
    case kAlignRight: textLeft = bounds.right - kLabelInset - width; break;
    case kAlignLeft: textLeft = bounds.left + kLabelInset; break;
    default: textLeft = bounds.left + (bounds.right - bounds.left) / 2 - width / 2; break;
    }
    textRight = textLeft + width;
    switch (vAlign) {
    case kAlignTop: textTop = bounds.top + kLabelInset; break;
    case kAlignBottom: textTop = bounds.bottom - kLabelInset - height; break;
    default: textTop = bounds.top + (bounds.bottom - bounds.top - height) / 2; break;
    }
    textBottom = textTop + height;
}

void CActorButton::RecalcBounds() {
    int width = 0, height = 0;
    MeasureLabel(&width, &height);
    if (frames) {
        // A missing frame keeps the bounds it had.
        if (CSprite* frame = frames->Get(baseIndex + state)) {
            bounds.left = FromFixed(x) + frame->ox;
            bounds.top = FromFixed(y) + frame->oy;
            bounds.right = bounds.left + frame->w;
            bounds.bottom = bounds.top + frame->h;
        }
    } else {
        const int anchorX = FromFixed(x), anchorY = FromFixed(y);
        const int boxW = width + 2 * kLabelInset, boxH = height + 2 * kLabelInset;
        switch (hAlign) {
        case kAlignRight: bounds.left = anchorX - boxW; break;
        case kAlignLeft: bounds.left = anchorX; break;
        default: bounds.left = anchorX - width / 2 - kLabelInset; break;
        }
        switch (vAlign) {
        case kAlignTop: bounds.top = anchorY; break;
        case kAlignBottom: bounds.top = anchorY - boxH; break;
        default: bounds.top = anchorY - height / 2 - kLabelInset; break;
        }
        bounds.right = bounds.left + boxW;
        bounds.bottom = bounds.top + boxH;
        // A pressed frameless button shows itself pushed in.
        if (state == kStateDown) {
            bounds.left += 2;
            bounds.right += 2;
            bounds.top += 2;
            bounds.bottom += 2;
        }
    }
    PlaceLabel(width, height);
}

void CActorButton::Draw(const CRect& clip) {
    if (frames) {
        if (CSprite* frame = frames->Get(baseIndex + state)) {
            const CRect source{clip.left - bounds.left, clip.top - bounds.top, clip.right - bounds.left,
                               clip.bottom - bounds.top};
            frame->DrawFrame(&clip, &source, 0);
        }
    } else if (plainRect) {
        if (MRenderDevice* device = MRenderDevice::Current()) {
            MPanel panel;
            panel.left = bounds.left;
            panel.top = bounds.top;
            panel.right = bounds.right;
            panel.bottom = bounds.bottom;
            panel.fillColour = rectColour;
            panel.borderWidth = kBevelWidth;
            panel.borderColour = kBevelColour;
            panel.borderStyle = state == kStateUp ? kBevelRaised : kBevelSunken;
            device->FillRect(panel);
        }
    }
    DrawLabel();
}

void CActorButton::LimitLabelTo(int left, int right) {
    limited = true;
    limitLeft = left;
    limitRight = right;
}

void CActorButton::DrawGlyph(CSprite* glyph, const RECT& dest) {
    if (!limited) {
        glyph->DrawFrame(&dest, nullptr, 0);
        return;
    }
    const int anchor = FromFixed(x);
    const int left = std::max<int>(dest.left, anchor + limitLeft), right = std::min<int>(dest.right, anchor + limitRight);
    if (right <= left) return;
    if (left == dest.left && right == dest.right) {
        glyph->DrawFrame(&dest, nullptr, 0);
        return;
    }
    // The same share of the glyph as of its place.
    const double across = static_cast<double>(glyph->w) / std::max<int>(1, dest.right - dest.left);
    const RECT cut{left, dest.top, right, dest.bottom};
    const RECT source{static_cast<int>(std::lround((left - dest.left) * across)), 0,
                      static_cast<int>(std::lround((right - dest.left) * across)), glyph->h};
    glyph->DrawFrame(&cut, &source, 0);
}

void CActorButton::DrawLabel() {
    const char* label = text.get();
    if (!label[0]) return;
    int penX = textLeft, penY = textTop;
    if (state != kStateUp && mode != kButtonPlain) {
        ++penX;
        ++penY;
    }
    if (font) {
        const int lineStart = penX;
        for (const char* p = label; *p; ++p) {
            const int ch = static_cast<unsigned char>(*p);
            if (vertical) {
                // One glyph under the other, each at the line start.
                if (CSprite* glyph = font->Glyph(ch)) {
                    const RECT dest{lineStart, penY, lineStart + glyph->w, penY + font->lineHeight};
                    glyph->DrawFrame(&dest, nullptr, 0);
                }
                penY += font->lineHeight + font->spacing;
                continue;
            }
            if (ch == '\r') {
                penY += font->lineHeight;
                penX = lineStart;
            } else if (ch == ' ') {
                penX += font->maxWidth;
            } else {
                const int advance = font->Advance(ch);
                if (CSprite* glyph = font->Glyph(ch)) DrawGlyph(glyph, RECT{penX, penY, penX + advance, penY + font->lineHeight});
                penX += advance + font->spacing;
            }
        }
        return;
    }
    MTextFont* system = SystemFont(systemFontIndex);
    if (!system) return;
    const D3DCOLOR ink = disabled ? kDisabledGrey : colour;
    auto drawString = [&](float sx, float sy, const char* string) {
        if (shadow && !disabled)
            system->DrawText(sx + 2, sy + 2, IsLight(colour) ? kShadowBlack : kShadowWhite, string, 0);
        system->DrawText(sx, sy, ink, string, 0);
    };
    if (!vertical) {
        drawString(static_cast<float>(penX), static_cast<float>(penY), label);
        return;
    }
    for (const char* p = label; *p; ++p) {
        const char one[2] = {*p, '\0'};
        drawString(static_cast<float>(penX), static_cast<float>(penY), one);
        penY += SystemExtent(systemFontIndex, one).cy;
    }
}
