#pragma once
// The coach at the table: the key T (or its button) asks for advice and the
// card under the board shows the three best choices with their expected
// totals, the best one marked on the dice or the sheet, until the player
// acts. After a game the key V (or the Review button) opens a page with the
// three decisions that cost the most. The coach thinks on its own thread;
// nothing of it runs until it is asked.

#include <atomic>
#include <future>
#include <memory>
#include <vector>

#include "game/rules/coach/CCoachWorker.h"
#include "game/rules/coach/CoachReview.h"

class CActorButton;
class CActorSprite;
class CPlayScene;

constexpr int kCodeCoach = 84;   // "T"
constexpr int kCodeReview = 86;  // "V"

class CCoachPanel {
public:
    // Makes its actors in the scene (they stay the scene's).
    explicit CCoachPanel(CPlayScene* scene);
    ~CCoachPanel();
    CCoachPanel(const CCoachPanel&) = delete;
    CCoachPanel& operator=(const CCoachPanel&) = delete;

    // True when the code was the coach's.
    bool OnKeyDown(int code);
    bool OnKeyUp(int code);
    // Every frame: notes decisions, shows answers, takes the advice down once the player acts.
    void Tick();
    void OnNewGame();

    bool AdviceShown() const { return adviceShown; }
    // The answer is on the card: its choices, best first.
    const coach::CoachAdvice* ShownAdvice() const { return adviceShown && !waiting && shown ? &*shown : nullptr; }
    bool ReviewOpen() const { return reviewOpen; }
    void CloseReview() { HideReview(); }
    // The player's decisions of this game, as noted so far.
    const coach::CDecisionLog& Log() const { return log; }
    // An answer or a review is being worked out on the coach's thread, which
    // cannot wake the loop: the scene keeps its frames coming until it is in.
    bool Thinking() const { return waiting || settling || reviewJob.valid(); }
    const coach::GameReview* Review() const { return review.get(); }
    // Reviews told to stop that have not ended yet.
    std::size_t RetiredReviews() const { return retiredReviews.size(); }

private:
    struct Block {
        CActorButton* lines[4] = {};
        CActorSprite* dice[kDieCount] = {};
        CActorSprite* marks[kHandSize] = {};
    };

    coach::CoachState Now() const;
    bool DiceAtRest() const;
    void Ask();
    void ShowAdvice(const coach::CoachAdvice& advice);
    void HideAdvice();
    void MarkBest(const coach::CoachChoice& best);
    void ToggleReview();
    void ShowReview(const coach::GameReview& review);
    void HideReview();
    void ShowBlock(Block& block, const coach::ReviewedDecision& r);

    CPlayScene* scene;
    std::unique_ptr<coach::CCoachWorker> worker;  // made when first asked
    unsigned ticket = 0;
    coach::CoachState asked;
    bool waiting = false;
    bool settling = false;  // asked while the dice rolled: ask again once they are at rest
    bool adviceShown = false;
    std::optional<coach::CoachAdvice> shown;
    std::optional<coach::CoachChoice> plan;  // the last swaps advised, kept to while they last

    coach::CDecisionLog log;
    std::future<coach::GameReview> reviewJob;
    std::shared_ptr<std::atomic<bool>> cancelReview;  // the running review's own
    // Reviews of games given up, told to stop and collected once they have:
    // a new game never waits for them.
    std::vector<std::future<coach::GameReview>> retiredReviews;
    std::unique_ptr<coach::GameReview> review;
    bool reviewOpen = false;

    CActorButton* coachButton = nullptr;
    CActorButton* reviewButton = nullptr;
    CActorSprite* card = nullptr;
    CActorButton* cardLines[4] = {};
    CActorSprite* rings[kHandSize + 2] = {};
    CActorSprite* cellFrame = nullptr;
    CActorSprite* page = nullptr;
    CActorButton* closeButton = nullptr;
    CActorButton* pageLines[2] = {};
    Block blocks[3];
};
