#pragma once
// The duel at the table. As a duel begins the computer plays its whole game
// on the same dice on a thread of its own; above SCORE the panel shows the
// computer's total after as many hands as the player has scored (never
// further, so nothing is spoiled). At the end a card gives both totals, the
// winner and the margin, and the key O (or the card's line) opens a page
// with the computer's board and sheet and where the two games parted.

#include <memory>
#include <string>
#include <vector>

#include "game/rules/Duel.h"
#include "game/rules/coach/COpponentWorker.h"

class CActorButton;
class CActorSprite;
class CPlayScene;

constexpr int kCodeOpponent = 79;  // "O"

class CDuelPanel {
public:
    // Makes its actors in the scene (they stay the scene's).
    explicit CDuelPanel(CPlayScene* scene);
    ~CDuelPanel();
    CDuelPanel(const CDuelPanel&) = delete;
    CDuelPanel& operator=(const CDuelPanel&) = delete;

    // A game begins or a kept one resumes: a duel starts the computer's game.
    void OnGame(const GameSetup& setup);
    // Every frame: the running total, and the end card once both games are over.
    void Tick();
    // True when the code was the panel's.
    bool OnKeyDown(int code) const;
    bool OnKeyUp(int code);

    bool InDuel() const { return level != OpponentLevel::Off; }
    // The computer's game, once it is over (null before, or in a solo game).
    const coach::OpponentGame* Opponent() const;
    // The computer still plays: the scene keeps its frames coming to see it end.
    bool Thinking() const;
    bool CardShown() const { return cardShown; }
    // What stands above SCORE ("Hard 1,234"), empty in a solo game.
    std::string RunningText() const;
    bool PageOpen() const { return pageOpen; }
    // The end card's picture and its button to the page, as drawn.
    const CActorSprite* Card() const { return card; }
    const CActorButton* PageButton() const { return pageButton; }
    // The recording of the finished duel: false when it could not be kept.
    bool Recorded() const { return recorded; }
    // Workers of games given up, stopped and not yet ended.
    std::size_t RetiredWorkers() const { return retired.size(); }

private:
    void ShowCard();
    void HideCard();
    void TogglePage();
    void ShowPage();
    void HidePage();

    CPlayScene* scene;
    OpponentLevel level = OpponentLevel::Off;
    std::unique_ptr<coach::COpponentWorker> worker;
    // A new game never waits for the last one's computer: it is told to stop
    // and collected once it has.
    std::vector<std::unique_ptr<coach::COpponentWorker>> retired;
    bool cardShown = false;
    bool pageOpen = false;
    bool recorded = false;

    CActorButton* running = nullptr;  // "Hard 1,234" above SCORE
    CActorSprite* card = nullptr;
    CActorButton* cardLines[3] = {};
    CActorButton* pageButton = nullptr;  // the card's "See their game (O)"
    CActorButton* copyButton = nullptr;  // today's counted duel: "Copy (F6)"
    CActorSprite* page = nullptr;
    CActorButton* closeButton = nullptr;
    CActorButton* pageTitle = nullptr;
    CActorButton* pageHeading = nullptr;
    static constexpr int kPageLineCount = 14;
    CActorButton* pageLines[kPageLineCount] = {};
    CActorSprite* dice[25] = {};
};
