#pragma once
// Pieces the widget tests share: frame arrays and a bitmap font built in
// memory (sizes and anchors only, no pictures), and a scene that keeps the
// answers its dialogs give.

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "tests/support/EngineTestSupport.h"
#include "common/actors/CFont.h"
#include "common/actors/CSpriteA.h"

namespace widgettest {

// A mouse event of the given type at (x, y), as the window delivers it.
inline CMouseEvent Mouse(int type, int x, int y) {
    CMouseEvent event;
    event.type = type;
    event.x = static_cast<std::uint16_t>(x);
    event.y = static_cast<std::uint16_t>(y);
    return event;
}

// n frames of w x h anchored at their centre.
inline std::unique_ptr<CSpriteArray> MakeFrames(int n, int w, int h) {
    auto frames = std::make_unique<CSpriteArray>(n);
    for (int i = 0; i < n; ++i) frames->Set(i, enginetest::MakeFrame(w, h, -w / 2, -h / 2));
    frames->count = static_cast<std::int16_t>(n);
    return frames;
}

// Glyphs for 'A' onwards: 'A' is 10 wide, 'B' 12, every other letter 8; 16 high.
inline std::unique_ptr<CFont> MakeFont(int spacing) {
    constexpr int kGlyphs = 26;
    auto font = std::make_unique<CFont>('A', kGlyphs, spacing, 0);
    for (int i = 0; i < kGlyphs; ++i) font->Set(i, enginetest::MakeFrame(i == 0 ? 10 : i == 1 ? 12 : 8, 16, 0, 0));
    font->count = kGlyphs;
    font->lineHeight = 16;
    font->maxWidth = 12;
    return font;
}

// A scene that opens dialogs and notes every answer handed to it.
class OwnerScene : public enginetest::LogScene {
public:
    using LogScene::LogScene;
    void ChangeScene(CScene* scene, int code) override { answers.emplace_back(scene, code); }
    std::vector<std::pair<CScene*, int>> answers;
};

}  // namespace widgettest
