#include "common/widgets/CEditBox.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "common/actors/CFont.h"
#include "common/scene/CScene.h"
#include "platform/render/MTextFont.h"

namespace {

// The caret's bar sits this far left of the gap between two letters, and this
// far above the text.
constexpr int kCaretShiftX = 3;
constexpr int kCaretShiftY = 3;
// The widest text the bitmap font is asked to measure.
constexpr int kMeasureLimit = 32767;

const char kCaretLabel[] = "|";

}  // namespace

CEditBox::CEditBox(CScene* owner, int px, int py, int pz, const CTextRecord& textRecord,
                   const CButtonRecord& buttonRecord)
    : CActorButton(textRecord, buttonRecord, owner, px, py, pz, nullptr, 0) {
    CTextRecord caretRecord = textRecord;
    caretRecord.text = kCaretLabel;
    caretRecord.maxLength = 1;
    CButtonRecord caretButton;
    caretButton.mode = kButtonPlain;
    caretButton.key = 0;
    caretButton.mouseEnabled = 0;
    caret = new CActorButton(caretRecord, caretButton, owner, px, py - ToFixed(kCaretShiftY), pz - 1, nullptr, 0);
    caret->Blink(0, kCaretBlinkTicks, kCaretBlinkTicks);
    caretPosition = GetLength();
    PlaceCaret();
}

// The caret belongs to the scene, which deletes it with its other actors.
CEditBox::~CEditBox() { caret = nullptr; }

int CEditBox::GetLength() const { return static_cast<int>(std::strlen(text.get())); }

void CEditBox::StartCaretBlink() {
    if (!caret) return;
    caret->Show();
    caret->Blink(0, caretBlinkTime, caretBlinkTime);
}

void CEditBox::Show() {
    CActorButton::Show();
    if (!caret) return;
    if (readOnly)
        caret->Hide();
    else
        StartCaretBlink();
}

void CEditBox::Hide() {
    CActorButton::Hide();
    if (caret) caret->Hide();
}

void CEditBox::ToggleVisible() {
    if (hidden)
        Show();
    else
        Hide();
}

void CEditBox::SetMaxLength(int n) {
    n = std::max(0, n);
    if (n < editMaxLength && n < GetLength()) {
        text[n] = '\0';
        UpdateBounds();
        caretPosition = std::min(caretPosition, n);
        PlaceCaret();
    }
    editMaxLength = n;
}

void CEditBox::SetText(const char* string, int stripZeros) {
    if (readOnly) return;
    if (!string) string = "";
    if (stripZeros)
        while (string[0] == '0' && string[1] != '\0') ++string;
    // No edit box text grows past the limit, whatever its buffer.
    const std::string kept(string, strnlen(string, kTextLimit));
    CActorButton::SetText(kept.c_str());
    caretPosition = GetLength();
    PlaceCaret();
}

void CEditBox::SetReadOnly(int flag) {
    readOnly = flag;
    if (!caret) return;
    if (readOnly)
        caret->Hide();
    else
        StartCaretBlink();
}

void CEditBox::InsertChar(int ch, int position) {
    if (readOnly) return;
    const int length = GetLength();
    // The label buffer holds maxLength characters: never write past it.
    if (length >= editMaxLength || length >= kTextLimit || length >= maxLength) return;
    if (position < -1 || position > length) return;
    const int at = position == -1 ? length : position;
    std::memmove(&text[at + 1], &text[at], static_cast<std::size_t>(length - at) + 1);
    text[at] = static_cast<char>(ch);
    UpdateBounds();
    caretPosition = std::min(caretPosition + 1, length + 1);
    PlaceCaret();
}

void CEditBox::DeleteChar(int position) {
    if (readOnly) return;
    const int length = GetLength();
    if (length == 0 || position < 0 || position >= length) return;
    std::memmove(&text[position], &text[position + 1], static_cast<std::size_t>(length - position));
    UpdateBounds();
}

void CEditBox::MoveCaret(int delta) { SetCaret(caretPosition + delta); }

void CEditBox::SetCaret(int position) {
    caretPosition = std::clamp(position, 0, GetLength());
    PlaceCaret();
}

int CEditBox::MeasurePrefix(int length) const {
    if (length <= 0) return 0;
    if (font) return std::min(font->TextWidth(text.get(), 0, length), kMeasureLimit);
    MTextFont* system = MFontManager::Get()->Font(systemFontIndex);
    if (!system) return 0;
    const std::string prefix(text.get(), static_cast<std::size_t>(length));
    SIZE size{0, 0};
    system->GetTextExtent(prefix.c_str(), &size);
    return size.cx;
}

void CEditBox::PlaceCaret() {
    if (!caret) return;
    const int originX = scene ? scene->originX : 0;
    const int screenX = FromFixed(x);
    const int caretX = screenX + MeasurePrefix(caretPosition) - kCaretShiftX;
    caret->SetX(ToFixed(caretX) + originX);
}

int CEditBox::OnKey(int keyCode) {
    if (!acceptsKeys) return 0;
    switch (keyCode) {
    case VK_BACK_KEY:
        if (caretPosition > 0) {
            DeleteChar(caretPosition - 1);
            MoveCaret(-1);
        }
        break;
    case VK_DELETE_KEY: DeleteChar(caretPosition); break;
    case 37:   // Left
    case 100:  // keypad 4
        MoveCaret(-1);
        break;
    case 39:   // Right
    case 102:  // keypad 6
        MoveCaret(1);
        break;
    case VK_HOME_KEY: SetCaret(0); break;
    case VK_END_KEY: SetCaret(GetLength()); break;
    default:
        if (keyCode >= VK_A_KEY && keyCode <= VK_Z_KEY) InsertChar(keyCode, caretPosition);
        break;
    }
    return 1;
}
