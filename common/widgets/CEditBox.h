#pragma once
// One line of text entry on a button actor: the label is the edited text and a
// child button showing "|" blinks where the next letter goes. Text comes from
// key codes, only the letters A to Z, so it is always upper case.

#include "common/widgets/CActorButton.h"

// Virtual-key codes the edit box acts on.
constexpr int VK_BACK_KEY = 8;
constexpr int VK_END_KEY = 35;
constexpr int VK_HOME_KEY = 36;
constexpr int VK_DELETE_KEY = 46;
constexpr int VK_A_KEY = 65;
constexpr int VK_Z_KEY = 90;

class CEditBox : public CActorButton {
public:
    // The longest text any edit box holds.
    static constexpr int kTextLimit = 127;
    static constexpr int kCaretBlinkTicks = 192;

    // x, y, z absolute 24.8; textRecord gives the font, colours and the label
    // buffer's capacity.
    CEditBox(CScene* scene, int x, int y, int z, const CTextRecord& textRecord, const CButtonRecord& buttonRecord);
    ~CEditBox() override;

    void Show() override;           // 1
    void Hide() override;           // 2
    void ToggleVisible() override;  // 3

    // A smaller maximum cuts the text.
    void SetMaxLength(int n);
    // Ignored while read-only. stripZeros drops leading '0' characters while at
    // least two characters remain. The caret goes to the end.
    void SetText(const char* string, int stripZeros = 0);
    void SetReadOnly(int flag);
    // Inserts ch before position (-1 appends) while there is room.
    void InsertChar(int ch, int position);
    // Removes the character at position (nothing at the end).
    void DeleteChar(int position);
    void MoveCaret(int delta);
    void SetCaret(int position);
    // 1 for every key while the box accepts keys, 0 otherwise.
    int OnKey(int keyCode);

    void SetAcceptsKeys(int flag) { acceptsKeys = flag; }
    int GetLength() const;
    CActorButton* GetCaret() const { return caret; }

    int readOnly = 0;
    int acceptsKeys = 1;
    int editMaxLength = 1;
    int caretBlinkTime = kCaretBlinkTicks;
    int caretPosition = 0;
    CActorButton* caret = nullptr;  // lives in the scene's actor list

private:
    // Moves the caret actor under the caret position.
    void PlaceCaret();
    void StartCaretBlink();
    // The width of the text before the caret.
    int MeasurePrefix(int length) const;
};
