#include "common/widgets/CNumber.h"

#include <algorithm>

#include "common/scene/CScene.h"

namespace {

constexpr int kTicksPerSecond = 256;

}  // namespace

int CNumber::MaximumFor(int n) {
    n = std::clamp(n, kMinDigits, kMaxDigits);
    if (n == kMaxDigits) return kTenDigitMaximum;
    int result = 1;
    for (int i = 0; i < n; ++i) result *= 10;
    return result - 1;
}

void CNumber::Format(int v, int n, char* out) {
    n = std::clamp(n, kMinDigits, kMaxDigits);
    v = std::clamp(v, 0, MaximumFor(n));
    int place = 1;
    for (int i = 1; i < n; ++i) place *= 10;
    int written = 0;
    for (; place >= 1; place /= 10) {
        const int digit = v / place;
        v %= place;
        if (written || digit != 0 || place == 1) out[written++] = static_cast<char>('0' + digit);
    }
    out[written] = '\0';
}

CNumber::CNumber(CScene* scene, int px, int py, int pz, const CTextRecord& textRecord,
                 const CButtonRecord& buttonRecord, int n, CSpriteArray* frames) {
    digits = static_cast<std::int16_t>(std::clamp(n, kMinDigits, kMaxDigits));
    maximum = MaximumFor(digits);
    value = 0;
    Format(value, digits, text);
    CTextRecord record = textRecord;
    record.text = text;
    // A record without a length still shows every digit.
    if (record.maxLength <= 0) record.maxLength = digits;
    label = new CActorButton(record, buttonRecord, scene, px, py, pz, frames, 0);
    label->fixed = 1;
}

CNumber::~CNumber() {
    // The scene deletes its actors; a killed label goes at its next update.
    if (label) label->Kill();
    label = nullptr;
}

void CNumber::Clamp() { value = std::clamp(value, 0, maximum); }

void CNumber::Add(int amount) {
    // Summed wide so that no amount can wrap the value around.
    const long long sum = static_cast<long long>(value) + amount;
    value = static_cast<int>(std::clamp<long long>(sum, 0, maximum));
    changed = 1;
}

void CNumber::Reset(int, int) {}

void CNumber::Refresh() {
    if (!changed) return;
    Format(value, digits, text);
    if (label) label->SetText(text);
    changed = 0;
}

void CNumber::Set(int v) {
    value = v;
    Clamp();
    changed = 1;
}

void CCounter::Reset(int, int) {
    tickRest = 0;
    Set(0);
}

void CCounter::Update(int elapsed) {
    if (!hold && elapsed > 0) {
        tickRest += elapsed;
        if (tickRest >= kTicksPerSecond) {
            Add(tickRest / kTicksPerSecond);
            tickRest %= kTicksPerSecond;
        }
    }
    Refresh();
}
