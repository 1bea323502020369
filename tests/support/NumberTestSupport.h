#pragma once
// Pieces the number and panel tests share: a digit font made in memory, label
// records, and a panel that counts the hooks a score display calls.

#include <memory>

#include "tests/support/EngineTestSupport.h"
#include "common/actors/CFont.h"
#include "common/widgets/CNumber.h"
#include "common/widgets/CScore.h"
#include "common/widgets/CStatus.h"

namespace numbertest {

// Glyphs '0'..'9', each 10 wide and 14 high, spacing 2.
inline std::unique_ptr<CFont> MakeDigitFont() {
    constexpr int kGlyphs = 10;
    auto font = std::make_unique<CFont>('0', kGlyphs, 2, 0);
    for (int i = 0; i < kGlyphs; ++i) font->Set(i, enginetest::MakeFrame(10, 14, 0, 0));
    font->count = kGlyphs;
    font->lineHeight = 14;
    font->maxWidth = 10;
    return font;
}

// Right-aligned digits in the given font, room for 10 characters.
inline CTextRecord DigitLabel(CFont* font) {
    CTextRecord record;
    record.maxLength = 10;
    record.hAlign = kAlignRight;
    record.font = font;
    record.colour = 0xFFFFFF00u;
    return record;
}

// A panel that notes the score's calls.
class CountingPanel : public CStatus {
public:
    using CStatus::CStatus;
    void OnCountFinished() override { ++countsFinished; }
    void CheckScoreBonus(int score) override {
        ++bonusChecks;
        lastChecked = score;
        CStatus::CheckScoreBonus(score);
    }
    int countsFinished = 0;
    int bonusChecks = 0;
    int lastChecked = -1;
};

}  // namespace numbertest
