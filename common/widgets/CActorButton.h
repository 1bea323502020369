#pragma once
// The engine's button: a push button, toggle, radio item or multi-state control
// with an optional text label. Its picture is one frame per state from a sprite
// array, or without frames a plain bevelled rectangle. A button never calls the
// game back: a press sends its key code to the top scene as if that key had been
// pressed, and a capturing button's release sends the key release.

#include <cstdint>
#include <memory>

#include "common/actors/CActor.h"
#include "platform/render/MGraphicsTypes.h"

class CFont;
class CSpriteArray;

// Label alignments: where the label stands relative to the anchor.
constexpr int kAlignCentre = 0;
constexpr int kAlignRight = 1;   // horizontally: right edge at the anchor
constexpr int kAlignLeft = 2;    // horizontally: left edge at the anchor
constexpr int kAlignTop = 1;     // vertically: top edge at the anchor
constexpr int kAlignBottom = 2;  // vertically: bottom edge at the anchor

// Button modes.
constexpr int kButtonPlain = 0;    // only sends its key
constexpr int kButtonLatch = 1;    // a radio item: turns on, the scene turns it off
constexpr int kButtonToggle = 2;   // flips on every press
constexpr int kButtonPush = 3;     // down while held, captures the mouse

// Button states.
constexpr int kStateUp = 0;
constexpr int kStateDown = 1;
constexpr int kStateDisabled = 2;

// The label of a button. Callers keep these in tables.
struct CTextRecord {
    const char* text = nullptr;  // copied by the button; null is an empty label
    int maxLength = 0;           // longest label kept
    int hAlign = kAlignCentre;
    int vAlign = kAlignCentre;
    CFont* font = nullptr;  // bitmap font; null draws with the system font below
    int systemFontIndex = 0;
    D3DCOLOR colour = 0xFFFFFFFFu;
    int shadow = 0;    // a shadow under a system-font label
    int vertical = 0;  // one character per line, top to bottom
};

// The behaviour of a button.
struct CButtonRecord {
    int mode = kButtonPlain;
    int key = 0;  // virtual-key code sent to the top scene; 0 sends nothing
    int mouseEnabled = 1;
    D3DCOLOR rectColour = 0xFF808080u;
    int plainRect = 0;  // without frames, draw a bevelled rectangle
    int digits = 0;     // non-zero: the label starts as the number 0
};

class CActorButton : public CActor {
public:
    // x, y, z absolute 24.8. frames may be null; the button's state 0 is the
    // frame at baseIndex.
    CActorButton(const CTextRecord& textRecord, const CButtonRecord& buttonRecord, CScene* scene, int x, int y,
                 int z, CSpriteArray* frames, int baseIndex);
    ~CActorButton() override;

    CSprite* GetSprite() override;                       // 6
    int OnMouse(const CMouseEvent& event) override;      // 47
    int WantsMouse(const CMouseEvent& event) override;   // 48
    void RecalcBounds() override;                        // 49
    void Draw(const CRect& clip) override;               // 52

    // Replaces the label, cut to maxLength characters.
    void SetText(const char* string);
    // Replaces the whole text record (and the label buffer, sized for its maxLength).
    void SetTextRecord(const CTextRecord& record);
    // Does nothing for s equal to the state, or for a plain button while its
    // scene is paused. State 2 disables the button.
    void SetState(int s);
    int GetStateCount() const;
    // A pressed (state 1) button that is neither plain nor disabled goes up again.
    void ReleaseVisual();

    const char* GetText() const { return text.get(); }
    int GetState() const { return state; }

    // The text record.
    std::unique_ptr<char[]> text;  // maxLength + 1 bytes, always terminated
    int maxLength = 0;
    int hAlign = kAlignCentre;
    int vAlign = kAlignCentre;
    CFont* font = nullptr;  // not owned
    int systemFontIndex = 0;
    D3DCOLOR colour = 0xFFFFFFFFu;
    int shadow = 0;
    int vertical = 0;
    // The button record.
    int mode = kButtonPlain;
    int key = 0;
    int mouseEnabled = 0;
    D3DCOLOR rectColour = 0;
    int plainRect = 0;
    int digits = 0;
    // Pictures and state.
    CSpriteArray* frames = nullptr;  // not owned
    int baseIndex = 0;
    std::int16_t state = kStateUp;
    int disabled = 0;
    int textLeft = 0;
    int textTop = 0;
    int textRight = 0;
    int textBottom = 0;

    // The label's glyphs are drawn only between left and right design pixels
    // from the anchor (x): a label longer than its field is cut at the field's
    // edges instead of covering what stands beside it.
    void LimitLabelTo(int left, int right);

protected:
    // The label's width and height as it will be drawn.
    void MeasureLabel(int* width, int* height) const;
    // Where the label stands inside the bounds, by the alignments.
    void PlaceLabel(int width, int height);
    void DrawLabel();
    // Copies string into a new buffer of maxLength + 1 bytes.
    void AllocateText(const char* string);
    void CopyText(const char* string);
    void TakeTextRecord(const CTextRecord& record);

private:
    // A glyph drawn at dest, only its part inside the label's limits.
    void DrawGlyph(CSprite* glyph, const RECT& dest);
    bool limited = false;
    int limitLeft = 0;
    int limitRight = 0;
};
