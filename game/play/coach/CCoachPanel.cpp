#include "game/play/coach/CCoachPanel.h"

#include <cctype>
#include <chrono>
#include <cstdio>

#include "common/actors/CActorSprite.h"
#include "common/actors/CSpriteA.h"
#include "common/scene/CFixPoint.h"
#include "common/widgets/CActorButton.h"
#include "game/play/CActorDie.h"
#include "game/play/CPlayScene.h"
#include "game/play/PlayLabel.h"
#include "game/play/coach/CoachAssets.h"

using namespace coach;

namespace {

constexpr std::uint64_t kAdviceSeed = 1;
constexpr D3DCOLOR kInk = 0xFF3B2A14u;
constexpr D3DCOLOR kCostInk = 0xFF9A1F14u;
constexpr int kBodyFont = 2;
constexpr int kTitleFont = 0;

// Layout: the buttons between the level ladders, the card over the hint, the
// page over the middle of the screen.
constexpr int kButtonX = 358, kCoachButtonY = 456, kReviewButtonY = 494;
constexpr int kCardX = 214, kCardY = 392;
constexpr int kPageX = 90, kPageY = 50;
constexpr int kMarkDepth = 900, kCardDepth = 90, kPageDepth = 60;

CActorButton* Label(CPlayScene* scene, int x, int y, int z, int font) {
    CTextRecord text;
    text.maxLength = 120;
    text.hAlign = kAlignLeft;
    text.vAlign = kAlignTop;
    text.systemFontIndex = font;
    text.colour = kInk;
    return NewHiddenLabel(scene, text, x, y, z);
}

CActorSprite* Sprite(CPlayScene* scene, int x, int y, int z, CSprite* picture) {
    return NewHiddenSprite(scene, x, y, z, picture);
}

void Place(CActor* actor, int x, int y) {
    actor->SetXY(ToFixed(x) - actor->scene->originX, ToFixed(y) - actor->scene->originY);
    actor->Show();
}

std::string Points(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.0f", value);
    return text;
}

}  // namespace

CCoachPanel::CCoachPanel(CPlayScene* owner) : scene(owner) {
    if (!CoachAssetsLoaded()) return;
    const CoachAssetSet& a = CoachAssets();
    coachButton = NewHiddenButton(scene, kCodeCoach, kButtonX, kCoachButtonY, 200, a.coachButton);
    coachButton->Show();
    reviewButton = NewHiddenButton(scene, kCodeReview, kButtonX, kReviewButtonY, 200, a.reviewButton);
    card = Sprite(scene, kCardX, kCardY, kCardDepth, a.card);
    for (int i = 0; i < 4; ++i) cardLines[i] = Label(scene, kCardX + 14, kCardY + 8 + 23 * i, kCardDepth - 1, kBodyFont);
    for (CActorSprite*& ring : rings) ring = Sprite(scene, 0, 0, kMarkDepth, a.ring);
    cellFrame = Sprite(scene, 0, 0, kMarkDepth, a.cellFrame);

    page = Sprite(scene, kPageX, kPageY, kPageDepth, a.page);
    closeButton = NewHiddenButton(scene, kCodeReview, kPageX + 506, kPageY + 416, kPageDepth - 2, a.closeButton);
    pageLines[0] = Label(scene, kPageX + 24, kPageY + 16, kPageDepth - 1, kTitleFont);
    pageLines[1] = Label(scene, kPageX + 24, kPageY + 50, kPageDepth - 1, kBodyFont);
    for (int b = 0; b < 3; ++b) {
        const int top = kPageY + 86 + 122 * b;
        for (int i = 0; i < 4; ++i) blocks[b].lines[i] = Label(scene, kPageX + 150, top + 4 + 24 * i, kPageDepth - 1, kBodyFont);
        for (CActorSprite*& die : blocks[b].dice) die = Sprite(scene, 0, 0, kPageDepth - 1, a.miniDice->Get(0));
        for (CActorSprite*& mark : blocks[b].marks) mark = Sprite(scene, 0, 0, kPageDepth - 2, a.miniRing);
    }
}

CCoachPanel::~CCoachPanel() {
    // The actors are the scene's; only the thinking is stopped here.
    if (cancelReview) *cancelReview = true;
    if (reviewJob.valid()) reviewJob.wait();
    for (std::future<GameReview>& retired : retiredReviews) retired.wait();
}

CoachState CCoachPanel::Now() const { return SnapshotOf(scene->board, scene->boardCells); }

bool CCoachPanel::DiceAtRest() const {
    const CBoardState& board = scene->board;
    if (board.IsSecondHalf()) return true;
    for (int col = 0; col < kBoardCols; ++col) {
        const DieState& die = board.dice[DieIndex(board.handIndex, col)];
        if (die.rolling || die.moving || die.rollPending) return false;
    }
    return true;
}

bool CCoachPanel::OnKeyDown(int code) { return coachButton && (code == kCodeCoach || code == kCodeReview); }

bool CCoachPanel::OnKeyUp(int code) {
    if (!coachButton) return false;
    if (code == kCodeCoach) {
        if (!scene->IsGameOverFlag() && !reviewOpen) Ask();
        return true;
    }
    if (code == kCodeReview) {
        if (scene->IsGameOverFlag()) ToggleReview();
        return true;
    }
    return false;
}

void CCoachPanel::Ask() {
    HideAdvice();
    card->Show();
    for (CActorButton* line : cardLines) line->Hide();
    cardLines[0]->Show();
    if (!DiceAtRest()) {
        // Asked again by Tick once the dice are at rest.
        cardLines[0]->SetText("The coach waits for the dice to settle.");
        asked = Now();
        adviceShown = true;
        settling = true;
        return;
    }
    settling = false;
    cardLines[0]->SetText("The coach is thinking...");
    if (!worker) worker = std::make_unique<CCoachWorker>();
    asked = Now();
    if (plan && asked.IsSecondHalf()) FollowPlan(asked, *plan);
    ticket = worker->Ask(asked, kAdviceSeed);
    waiting = true;
    adviceShown = true;
}

void CCoachPanel::ShowAdvice(const CoachAdvice& advice) {
    shown = advice;
    log.NoteAdvice(asked, advice);
    // The reason for the best choice on top, then the three best with the
    // final total each is expected to reach.
    cardLines[0]->SetText(ReasonFor(advice, asked).c_str());
    for (int i = 0; i < 3; ++i) {
        CActorButton* line = cardLines[i + 1];
        if (i >= static_cast<int>(advice.choices.size())) {
            line->Hide();
            continue;
        }
        const CoachChoice& c = advice.choices[static_cast<std::size_t>(i)];
        line->SetText((std::to_string(i + 1) + ". " + DescribeChoice(c, asked) + ": " + Points(c.expected)).c_str());
        line->Show();
    }
    if (advice.choices.empty()) return;
    MarkBest(advice.choices.front());
    // The arrangement behind the best second-half choice is the plan that
    // later advice keeps to.
    if (!advice.choices.front().planFace.empty()) plan = advice.choices.front();
}

void CCoachPanel::MarkBest(const CoachChoice& best) {
    int places[kHandSize + 2], count = 0;
    switch (best.kind) {
    case ChoiceKind::Hold:
        for (int col = 0; col < kBoardCols; ++col)
            if (best.holdMask & (1 << col)) places[count++] = DieIndex(asked.handIndex, col);
        break;
    case ChoiceKind::Score:
        if (best.line >= 0) {
            GetLineDice(best.line, places);
            count = kHandSize;
        }
        break;
    case ChoiceKind::Swaps:
        if (!best.swaps.empty()) {
            places[count++] = best.swaps.front().first;
            places[count++] = best.swaps.front().second;
        }
        break;
    default:
        break;
    }
    for (int i = 0; i < count; ++i) {
        const CActorDie* die = scene->dice[places[i]];
        if (die) Place(rings[i], FromFixed(die->AbsoluteX()), FromFixed(die->AbsoluteY()));
    }
    if (best.kind == ChoiceKind::Score) {
        const int index = CategoryIndex(best.category);
        Place(cellFrame, index < 6 ? 14 : 588, 24 + 80 * (index % 6));
    }
}

void CCoachPanel::HideAdvice() {
    if (!card) return;
    card->Hide();
    for (CActorButton* line : cardLines) line->Hide();
    for (CActorSprite* ring : rings) ring->Hide();
    cellFrame->Hide();
    adviceShown = false;
    waiting = false;
    settling = false;
    shown.reset();
    if (worker) worker->Cancel();
}

void CCoachPanel::Tick() {
    if (!coachButton) return;
    const CoachState now = Now();
    log.Observe(now);
    if (settling) {
        // T during a roll: the answer comes once the dice are at rest.
        if (DiceAtRest() && !scene->IsGameOverFlag()) Ask();
    } else if (adviceShown && !SameState(asked, now)) {
        HideAdvice();
    }
    if (waiting) {
        if (std::optional<CoachAdvice> advice = worker->Poll(ticket)) {
            waiting = false;
            ShowAdvice(*advice);
        }
    }
    std::erase_if(retiredReviews, [](const std::future<GameReview>& retired) {
        return retired.wait_for(std::chrono::seconds(0)) == std::future_status::ready;
    });
    if (reviewJob.valid() && reviewJob.wait_for(std::chrono::seconds(0)) == std::future_status::ready) {
        review = std::make_unique<GameReview>(reviewJob.get());
        if (reviewOpen) ShowReview(*review);
    }
    const bool over = scene->IsGameOverFlag();
    if (over == (coachButton->hidden != 0)) return;
    // The coach's button gives way to the review's at the end of a game.
    if (over) {
        HideAdvice();
        coachButton->Hide();
        reviewButton->Show();
    } else {
        reviewButton->Hide();
        coachButton->Show();
    }
}

void CCoachPanel::OnNewGame() {
    if (!coachButton) return;
    HideAdvice();
    HideReview();
    if (reviewJob.valid()) {
        *cancelReview = true;
        retiredReviews.push_back(std::move(reviewJob));
    }
    reviewJob = {};
    review.reset();
    log.Clear();
    plan.reset();
}

void CCoachPanel::ToggleReview() {
    if (reviewOpen) {
        HideReview();
        return;
    }
    reviewOpen = true;
    page->Show();
    closeButton->Show();
    pageLines[0]->SetText("Looking back over the game");
    pageLines[0]->Show();
    if (review) {
        ShowReview(*review);
        return;
    }
    pageLines[1]->SetText("The coach is weighing your decisions...");
    pageLines[1]->Show();
    if (!reviewJob.valid()) {
        const int total = scene->board.Total();
        cancelReview = std::make_shared<std::atomic<bool>>(false);
        reviewJob = std::async(std::launch::async, [cancel = cancelReview, copy = log, total] {
            return ReviewGame(CCoach(kReviewBudget), copy, total, kAdviceSeed, cancel.get());
        });
    }
}

void CCoachPanel::ShowReview(const GameReview& r) {
    std::string expected = "Your total: " + std::to_string(r.finalTotal) + ".";
    if (r.expectedAtStart > 0) {
        std::string moment = DescribeMoment(Decision{r.firstMoment, r.firstMoment, CoachChoice()});
        moment[0] = static_cast<char>(std::tolower(static_cast<unsigned char>(moment[0])));
        expected += "   At your first choice (" + moment + ") the coach expected " + Points(r.expectedAtStart) + ".";
    }
    pageLines[1]->SetText(expected.c_str());
    pageLines[1]->Show();
    if (r.costliest.empty()) {
        blocks[0].lines[0]->SetText("Every decision was as good as the coach's.");
        blocks[0].lines[0]->Show();
    }
    for (std::size_t i = 0; i < r.costliest.size() && i < 3; ++i) ShowBlock(blocks[i], r.costliest[i]);
}

void CCoachPanel::ShowBlock(Block& block, const ReviewedDecision& r) {
    const Decision& d = r.decision;
    const bool swapped = d.before.IsSecondHalf() && !SameState(d.before, d.after);
    block.lines[0]->SetText(DescribeMoment(d).c_str());
    block.lines[1]->SetText(("You: " + std::string(swapped ? "swaps, then " : "") + DescribeChoice(d.chosen, d.before) +
                             "   " + Points(r.chosenValue))
                                .c_str());
    block.lines[2]->SetText(("Coach: " + DescribeChoice(r.preferred, d.before) + "   " + Points(r.preferred.expected)).c_str());
    block.lines[3]->SetText(("Cost: " + Points(r.cost) + " points").c_str());
    block.lines[3]->colour = kCostInk;
    for (CActorButton* line : block.lines) line->Show();

    // The moment's row (first half) or board (second half), the kept dice or
    // the scored line ringed.
    const CoachAssetSet& a = CoachAssets();
    const int left = block.lines[0]->AbsoluteX() / 256 - 120, top = block.lines[0]->AbsoluteY() / 256;
    auto at = [&](int index, int* x, int* y) {
        const int row = index / kBoardCols, col = index % kBoardCols;
        *x = left + 10 + 22 * col;
        *y = d.before.IsSecondHalf() ? top + 10 + 22 * (4 - row) : top + 44;
    };
    for (int i = 0; i < kDieCount; ++i) {
        CActorSprite* die = block.dice[i];
        die->Hide();
        if (!d.before.IsSecondHalf() && i / kBoardCols != d.before.handIndex) continue;
        die->SetSprite(a.miniDice->Get(d.before.colour[i] * 6 + d.before.face[i] - 1));
        int x, y;
        at(i, &x, &y);
        Place(die, x, y);
    }
    int marked[kHandSize], count = 0;
    if (d.chosen.kind == ChoiceKind::Hold) {
        for (int col = 0; col < kBoardCols; ++col)
            if (d.chosen.holdMask & (1 << col)) marked[count++] = DieIndex(d.before.handIndex, col);
    } else if (d.chosen.line >= 0 && !swapped) {
        GetLineDice(d.chosen.line, marked);
        count = kHandSize;
    }
    for (int i = 0; i < kHandSize; ++i) {
        block.marks[i]->Hide();
        if (i >= count) continue;
        int x, y;
        at(marked[i], &x, &y);
        Place(block.marks[i], x, y);
    }
}

void CCoachPanel::HideReview() {
    if (!page) return;
    reviewOpen = false;
    page->Hide();
    closeButton->Hide();
    for (CActorButton* line : pageLines) line->Hide();
    for (Block& block : blocks) {
        for (CActorButton* line : block.lines) line->Hide();
        for (CActorSprite* die : block.dice) die->Hide();
        for (CActorSprite* mark : block.marks) mark->Hide();
    }
}
