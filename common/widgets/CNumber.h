#pragma once
// A numeric display: a bounded non-negative integer shown in decimal, without
// leading zeros, on a button used as a label. The label's text is rebuilt once
// per frame (Refresh) and only after the value was set or added to.

#include <cstdint>

#include "common/widgets/CActorButton.h"

class CScene;
class CSpriteArray;

class CNumber {
public:
    static constexpr int kMinDigits = 1;
    static constexpr int kMaxDigits = 10;
    static constexpr int kTextSize = 12;
    // 10 digits cannot hold 9999999999 in 32 bits: a 10-digit display tops
    // out at the largest 32-bit value instead.
    static constexpr int kTenDigitMaximum = 2147483647;

    // x, y, z absolute 24.8, like every actor placement. digits is clamped to
    // 1..10; frames may be null. The label is the text record's look with the
    // number's own text, fixed against scrolling.
    CNumber(CScene* scene, int x, int y, int z, const CTextRecord& textRecord, const CButtonRecord& buttonRecord,
            int digits, CSpriteArray* frames = nullptr);
    CNumber(const CNumber&) = delete;
    CNumber& operator=(const CNumber&) = delete;

    // 0: the label goes with its scene's next update; so a number display is
    // deleted before its scene (a panel's owner scene deletes the panel first).
    virtual ~CNumber();
    virtual void Add(int amount);       // 1: value += amount, clamped
    virtual void Reset(int a, int b);   // 2: nothing for a plain number
    virtual void Refresh();             // 3: once per frame: rebuilds the label if the value changed
    virtual void Set(int value);        // 4: value = v, clamped

    int GetValue() const { return value; }
    int GetMaximum() const { return maximum; }
    int GetDigits() const { return digits; }
    const char* GetText() const { return text; }
    CActorButton* GetLabel() const { return label; }
    int IsChanged() const { return changed; }

    // 10^digits - 1 for 1..9 digits, the largest 32-bit value for 10.
    static int MaximumFor(int digits);
    // The value's decimal digits without leading zeros ("0" for 0) into out,
    // which holds kTextSize characters. Values are taken as 0..maximum of digits.
    static void Format(int value, int digits, char* out);

    CActorButton* label = nullptr;  // lives in the scene's actor list
    char text[kTextSize] = {'0', '\0'};
    int value = 0;
    int maximum = 9;
    std::int16_t digits = 1;
    int changed = 0;

protected:
    // Keeps value within 0..maximum.
    void Clamp();
};

// A number display a panel runs as a clock or counter: Reset starts it from 0,
// and while not held each whole second of elapsed time (256 ticks) adds one.
// The stale flag is kept for the panel, which marks a counter whose player
// changed since the last new game.
class CCounter : public CNumber {
public:
    using CNumber::CNumber;

    void Reset(int a, int b) override;         // value 0, no part second kept
    virtual void Update(int elapsed);          // 5: counts elapsed ticks unless held, then Refresh

    int hold = 0;
    int stale = 0;
    int tickRest = 0;  // ticks below a whole second not yet counted
};
