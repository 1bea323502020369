#pragma once
// The screen the game is played on: the board of 25 dice, the score sheet,
// the buttons, hints and messages around them. The scene drives the board
// model (CBoardState) and shows on screen what the model decides; the dice
// and the sheet reach it through the process-wide pointers it sets in Begin
// and clears when it goes away.

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "common/scene/CGame.h"
#include "game/rules/CBoardState.h"
#include "game/rules/Duel.h"
#include "game/rules/CScoreCells.h"
#include "game/play/DiceScene.h"
#include "game/sheet/ScoreSheetScene.h"
#include "common/scene/SceneKinds.h"
#include "platform/core/ResultCodes.h"

class CActorButton;
class CActorDiceDrag;
class CActorDie;
class CActorFade;
class CActorSprite;
class CCoachPanel;
class CDuelPanel;
class CEditBox;
class CFont;
class CSceneDialog;
class CScoreSheet;
class CSprite;
class CSpriteArray;
class MSound;
struct SavedGame;

// The entry points the scene reads.
constexpr int kPlaySceneEntry = 3;
constexpr int kMusicEntries[3] = {8, 10, 11};  // by musicIndex

// The command codes of the play scene (virtual-key codes).
enum PlayCode : int {
    kCodeRoll = 13,
    kCodeQuit = 27,
    kCodeRecords = 48,
    kCodeFirstLine = 49,  // "1".."7": lines 0..6
    kCodeLastLine = 55,
    kCodeHiddenA = 75,    // "K"
    kCodeHiddenB = 81,    // "Q"
    kCodeHiddenOpen = 88, // "X"
    kCodeUndo = 85,       // "U"
    kCodeHelp = 109,      // numeric-pad minus
    kCodeNewGame = 110,   // numeric-pad decimal point
    kCodeOptions = 111,   // numeric-pad divide
    kCodeAbout = 112,     // F1
    kCodeInitials = 122,
    kCodeToday = 116,      // F5: today's dice, from the initials card
    kCodeCopyToday = 117,  // F6: copy the result of today's counted game
    kCodeFirstPlayer = 200,  // 200..205: a known player picked on the initials card
};

// Keys of the full keyboard beside the command codes.
constexpr int kKeySpace = 32;
constexpr int kKeyLeft = 37;
constexpr int kKeyUp = 38;
constexpr int kKeyRight = 39;
constexpr int kKeyDown = 40;
constexpr int kKeyFirstCategoryLetter = 'A';  // "A".."L" score "a".."l"
constexpr int kKeyLastCategoryLetter = 'L';
constexpr int kKeyCount = 256;
// The function keys of the numeric pad's commands.
constexpr int kKeyOptions = 113;  // F2
constexpr int kKeyNewGame = 114;  // F3
constexpr int kKeyHelp = 115;     // F4
// The entry of the board cursor's picture.
constexpr int kKeyboardEntry = 12;
// Where the cursor first appears: the centre of the board.
constexpr int kCursorStartRow = 2;
constexpr int kCursorStartCol = 2;

// The hint's x for each picture.
constexpr int kHintXRoll0 = 271;
constexpr int kHintXRoll1 = 240;
constexpr int kHintXRoll2 = 240;
constexpr int kHintXRoll3 = 271;
constexpr int kHintXSecondHalf = 233;
constexpr int kHintXMovable = 226;
constexpr int kHintXFixed = 271;
constexpr int kHintY = 401;
// Ticks of the intro before the first game can be played.
constexpr int kIntroTicks = 870;
// A hint or button blink: shown 102 ticks, hidden 51.
constexpr int kBlinkShown = 102;
constexpr int kBlinkHidden = 51;

// Everything the scene reads from entry 3, in the archive's order.
struct PlaySceneAssets {
    CSprite* background = nullptr;
    MSound* dialogOpenSound = nullptr;
    MSound* introSound = nullptr;
    CSpriteArray* rollButton = nullptr;
    // options, new game, records, about, quit, second-half help
    CSpriteArray* buttons[6] = {};
    CSprite* newGameDialog = nullptr;
    CSprite* quitDialog = nullptr;
    CSprite* unusedPicture = nullptr;
    CSprite* hiddenDialog = nullptr;
    CSpriteArray* dialogButtons = nullptr;
    CSpriteArray* hiddenDialogButtons = nullptr;
    CSpriteArray* columnLineButton = nullptr;
    CSpriteArray* fallingLineButton = nullptr;
    CSpriteArray* risingLineButton = nullptr;
    CSprite* intro = nullptr;
    CSprite* title = nullptr;
    CSprite* editBoxBkgnd = nullptr;
    CSprite* rollShadow = nullptr;
    CSprite* msgBottomStart = nullptr;
    CSprite* hintRoll0 = nullptr;
    CSprite* hintRoll2 = nullptr;
    CSprite* hintRoll1 = nullptr;
    CSprite* hintSecondHalf = nullptr;
    CSprite* hintMovable = nullptr;
    CSprite* hintFixed = nullptr;
    CSprite* hintRoll3 = nullptr;
    CSprite* endMessages[6] = {};  // end messages 1..6
    CSprite* topFrame = nullptr;
    CSprite* secHalfHelp = nullptr;
    CFont* editFont = nullptr;
    CSprite* cursor = nullptr;  // entry 12: the board cursor
};

enum ButtonSlot { kButtonOptions, kButtonNewGame, kButtonRecords, kButtonAbout, kButtonQuit, kButtonHelp };

class CPlayScene : public CGame, public IDiceScene, public IScoreSheetScene {
public:
    CPlayScene(CScreen* screen, int originX, int originY, int redrawMode, int userValue, int collisionOrder);
    ~CPlayScene() override;

    void OnLeftDown(int x, int y) override;
    void OnRightDown(int x, int y) override;
    void ChangeScene(CScene* scene, int code) override;
    void OnDialogClosed(CScene* dialog, int result) override;
    int OnSysKeyUp(int key) override;
    int OnSysKeyDown(int key) override;
    int OnKeyUp(int key) override;
    int OnKeyDown(int key) override;
    void LoadAssets() override;
    int Begin() override;
    void FreeAssets() override;
    void SetSoundVolume(int volume) override;
    void Tick() override;
    int IdleTicks() override;
    void StartGame(int firstPlayer) override;
    // The setup of the next new game (a duel, today's dice): set it, then call
    // StartGame, which takes it once. A new game given none is set up by the
    // Opponent option (SetupFromOptions).
    void SetNextGameSetup(const GameSetup& setup) { nextSetup = setup; }
    const GameSetup& CurrentSetup() const { return board.Setup(); }
    // Opponent Off: a solo game; otherwise a duel at that level on a seed drawn
    // from the game's generator.
    static GameSetup SetupFromOptions();
    void EndTurn(int index) override;
    void SetGameOver() override;
    virtual void OnOptionsChanged();

    // LoadAssets with its result: 0, kResultPlaySoundNotRead (a sound of entry 3) or kResultPlayAssetsNotLoaded.
    int LoadPlayAssets();
    int GetLoadResult() const { return loadResult; }

    // Play operations.
    void Roll();
    void ScoreCategory(int code);
    void Undo();
    void UpdateHint();
    void ShowLineMarkers();
    // End message 1..6 from the table places the total reached (-1 not entered).
    static int ChooseEndMessage(bool firstFinish, int best, int total, int posAll, int posMine);
    // The initials typed so far (the stored ones until the first roll).
    const char* GetEditedInitials() const;
    // The options scene closed: its initials go into the edit box.
    void ReloadInitials();

    // A game in progress is kept in the settings store (at every scored
    // category, and by the screen when the program is asked to end); the next
    // start offers it back. False when there was nothing to keep or it failed.
    bool KeepGameInProgress();
    bool GameInProgress() const { return gamesStartedCounted && !gameOver; }
    // At start-up: a kept game is offered ("Resume your game ...?"); one that
    // cannot be read is reported in one line and dropped; one declined counts
    // as abandoned.
    void OfferSavedGame();
    // Puts a kept game on the board as it was left, the random generator included.
    void ResumeGame(const SavedGame& saved);

    // What the dice ask.
    CBoardState& DiceBoard() override { return board; }
    int DiceRollsUsed() override { return board.rollsUsed; }
    bool DiceGameOver() override { return gameOver != 0; }
    bool DiceSecondHalf() override { return board.IsSecondHalf(); }
    void OnDiePressed(CActorDie* die, DieButton button) override;
    void OnDieReleased(CActorDie* die, int x, int y, bool movable) override;
    void OnDieAtTop(CActorDie* die) override;
    // What the score sheet asks: while it values a hand, the hand the model scored.
    bool GetLineFaces(int faces[kHandSize]) override;
    bool GetLineColours(int colours[kHandSize]) override;
    bool IsLastHand() override { return scoringHand ? handBeingScored == 11 : board.IsLastHand(); }
    bool IsGameOver() override { return gameOver != 0; }
    bool IsNewBestOverall() override { return isNewBestOverall; }
    bool IsNewBestPersonal() override { return isNewBestPersonal; }
    bool IsInTopTen() override { return isInTopTen; }
    // A replay of today's dice after the day's counted game: not recorded.
    bool PracticeGame() const;
    bool CountedTodayGame() const { return board.Setup().today && todayCounted; }
    // The counted game's result line, kept once both totals are known (the
    // player's end, or the computer's when it finishes later).
    void KeepTodayLine();
    // What the card's today line and the today line over SCORE say ("" while hidden).
    std::string TodayChoiceShown() const;
    std::string TodayLineShown() const;
    // A practice game keeps no record, so the sheet keeps no best score from it either.
    bool RecordsSaved() override { return recordsSaved && !PracticeGame(); }

    // Questions of the score sheet and the dice.
    bool IsGameOverFlag() const { return gameOver != 0; }
    bool IsSecondHalf() const { return board.IsSecondHalf(); }
    int GetHintLevel() const;
    int GetShowColMarkers() const;
    int GetDiceMoveMode() const;
    bool HintsOn() const { return GetHintLevel() != 0; }

    // The board model and the sheet's model cells.
    CScoreCells boardCells;
    CBoardState board{boardCells};

    int musicIndex = 0;
    int endMessage = 0;
    bool gamesStartedCounted = false;
    // Whose game this is: the initials shown when its first roll was made.
    std::string gamePlayer;
    // The initials card of every new game: the known players to pick, the one
    // picked (-1 none), and whether the box still shows initials it was given
    // (a letter then replaces them).
    static constexpr int kPlayerSlots = 6;
    std::vector<std::string> knownPlayers;
    int pickedPlayer = -1;
    bool initialsFresh = false;
    // A game has been started in this scene: the next one is a new game.
    bool gameBegunOnce = false;
    CActorButton* playersTitle = nullptr;
    CActorButton* playerLabels[kPlayerSlots] = {};
    bool initialsCommitted = false;
    bool isNewBestOverall = false;
    bool isNewBestPersonal = false;
    bool isInTopTen = false;
    bool recordsSaved = true;  // the last end kept its record
    bool optionsRequested = false;
    bool aboutRequested = false;
    bool recordsRequested = false;
    bool hiddenKeyA = false;
    bool hiddenKeyB = false;
    bool introShown = false;
    bool optionsOpen = false;
    bool recordsOpen = false;
    // aboutOpen is the base's paged-overlay flag (pagedOverlayShown).
    int& aboutOpen = pagedOverlayShown;
    int loadResult = 0;
    // The hand being scored while the sheet values it (the model has moved on).
    bool scoringHand = false;
    int handFaces[kHandSize] = {};
    int handColours[kHandSize] = {};
    int handBeingScored = 0;
    // The keyboard: the board cursor's die, the keys held down, and whether K
    // has been held without Q or X (it then scores "k" on its release).
    int cursorIndex = DieIndex(kCursorStartRow, kCursorStartCol);
    bool keyHeld[kKeyCount] = {};
    bool kAlone = false;
    // The release of the key that ended the intro is not a command.
    int swallowedKeyUp = 0;
    // A re-roll waits for its dice to be back at the top.
    bool awaitingTop = false;
    // The hint is taken down while the second-half help stands over its place.
    bool hintUnderHelp = false;
    // Holds asked for (digits 1 to 5, or a click) while the row moved: board
    // indexes to toggle once it rests, or -1.
    int queuedHolds[kBoardCols] = {-1, -1, -1, -1, -1};
    // The hint picture up under the board; null while it is taken down.
    CSprite* hintPicture = nullptr;

    PlaySceneAssets assets;

    CActorSprite* pasBackground = nullptr;
    CActorButton* rollButton = nullptr;
    CActorSprite* pasRollButShadow = nullptr;
    CActorButton* optionsButton = nullptr;
    CActorButton* newGameButton = nullptr;
    CActorButton* recordsButton = nullptr;
    CActorButton* aboutButton = nullptr;
    CActorButton* quitButton = nullptr;
    CActorButton* helpButton = nullptr;
    CActorButton* lineButtons[kLineCount] = {};
    CActorSprite* pasTitle = nullptr;
    CActorDie* dice[kDieCount] = {};
    CActorDiceDrag* pDiceDrag = nullptr;
    CActorSprite* pasMsgTop = nullptr;
    CActorSprite* pasMsgBottom = nullptr;
    CActorSprite* pasSecHalfHelp = nullptr;
    CActorSprite* pasInitEditBoxBkgnd = nullptr;
    CEditBox* initialsEditBox = nullptr;
    CActorSprite* pasTopFrame = nullptr;
    CActorSprite* pasIntro = nullptr;
    CActorSprite* pasCursor = nullptr;
    // The roll counter ("Roll" over "1 of 3") and the score preview of the twelve cells.
    CActorButton* rollCounterTitle = nullptr;
    CActorButton* rollCounter = nullptr;
    CActorButton* previewLabels[kCategoryCount] = {};
    CScoreSheet* sheet = nullptr;  // also the base's status panel
    CSceneDialog* pSceneResetConfirm = nullptr;
    CSceneDialog* pSceneQuitConfirm = nullptr;
    CSceneDialog* pSceneHidden = nullptr;
    // The coach: advice on request and the review after a game.
    std::unique_ptr<CCoachPanel> coachPanel;
    // The duel: the computer's game, its running total, the end card and its page.
    std::unique_ptr<CDuelPanel> duelPanel;

    // The keyboard's own keys, before the command codes; true when taken.
    static int CommandOfKey(int code);  // F2, F3, F4 as the pad's commands
    bool KeyboardKeyDown(int code);
    bool KeyboardKeyUp(int code);
    void HideBoardCursor();

private:
    // Begin's objects, in their order.
    void CreateObjects();
    CActorSprite* AddSprite(int x, int y, int depth, CSprite* picture, bool shown);
    CActorButton* AddButton(int mode, int id, int x, int y, int depth, CSpriteArray* frames, bool shown);
    void ForgetObjects();
    // The board cursor: its picture, its actor, its moves and its Space.
    void LoadKeyboardAssets();
    void CreateKeyboardObjects();
    void ForgetHeldKeys();
    // The roll counter and the score preview: made with the objects, kept in step every frame.
    void CreateAidObjects();
    void ForgetAidObjects();
    void UpdateAids();
    void ShowCursorAt(int index);
    void MoveCursor(int dRow, int dCol);
    void CursorAction();
    // The dice and the score sheet: their assets, objects and pointers.
    int LoadPartAssets();
    void FreePartAssets();
    void SetPartSoundVolume(float level);
    void CreateDice();
    void CreateSheet();
    void ResetSheet();
    void SetProcessPointers();
    void ClearProcessPointers();
    // What the scene asks of the dice actors (they read the board model).
    const CActor* FirstDieOfRow() const;
    void StopDiceSounds();
    // Roll: the row's first roll drops it, a later one sends the re-rolled dice up.
    void DiceStartRoll(bool firstRoll);
    void DiceDropRerolled();
    // Every die of a row loses its hold frame (and is locked when lock is set).
    void DiceClearHolds(int row, bool lock);
    void DiceSettleRow(int row);
    void DiceRiseRow(int row);
    // The second half begins (on) or is withdrawn (off).
    void DiceSecondHalf(bool on);
    // Movability and hold frames as the model has them now.
    void DiceShowMovability();
    void DiceHideHoldFrames();
    void DiceShowMarkers(int line);
    void DiceShowSwap(int picked, int target);
    void DiceSetHold(int index, bool on, bool withSound);
    void DiceEndShow(bool cycle);
    bool DiceMarked(int index) const;
    // The board index of a die of this scene, or -1.
    int IndexOfDie(const CActorDie* die) const;
    // A movable die of row whose picture the dropped drag die overlaps, or -1.
    int DiceDropTarget(int row, int released) const;
    bool DiceContains(int index, int x, int y) const;
    void PlayRefusalAndBlink();
    // StartGame step 4: the current row begins.
    void StartRow();
    void LoadMusicForGame();
    void OpenDialog(CSprite* picture, CSpriteArray* buttons, int buttonCount, int centreX, bool stopRollSounds,
                    CSceneDialog** slot);
    void RequestOtherScene(int code);
    void OpenRequestedScene();
    void EndIntro();
    // The intro is up (or still to come): the first game's wait before play.
    bool IntroRunning() const;
    // Return, Space, Esc or a click: the intro ends at once.
    void SkipIntro();
    void UpdateRollButton();
    void HideAllMarkers();
    void HideHint();
    void HideHelpButton();
    void SelectLineButton(int line);
    void ShowLineButtons(bool show);
    // The sheet shows the fill the model made, or takes it back.
    void SheetScore(int code);
    void SheetUndo();
    void SelectLineByCode(int line);
    void PlayRefusal();
    bool IsIntroGone() const;
    bool IsRollButtonEnabled() const;
    bool RowSettled() const;
    bool IsFading() const;
    bool RowBusy() const;
    CSprite* HintPicture(int* x) const;
    void ReactToScoring(int scoredHand);
    void KeepHintClearOfHelp();
    // A hold asked for while the row moves waits for it to rest; false when it
    // is no hold of this row (refused).
    bool QueueHold(int index);
    void ApplyQueuedHolds();
    // The initials card: its objects, shown at a new game, hidden at the first roll.
    void CreatePlayerObjects();
    void ForgetPlayerObjects();
    // reload: the box shows the stored initials again (a new game).
    void ShowInitialsCard(bool reload);
    void HideInitialsCard();
    void ShowKnownPlayers();
    void PickPlayer(int index);
    // Up, Down and the picks on the card; a first letter clears the box. True when taken.
    bool InitialsKeyDown(int code);
    // The box took an editing key.
    void EditedInitials();
    // Today's dice: the card's choice and the line over SCORE (PlaySceneToday.cpp;
    // made with the card's objects).
    std::string TodayChoiceText() const;
    void ShowTodayChoice();
    void HideTodayChoice();
    // Starts today's game for the initials on the card and rolls its first row.
    void StartTodayGame();
    // At the first roll: whether this is the player's counted game of the day.
    void BeginTodayGame();
    // A kept game of today's dice resumed: counted when it is the player's open counted game.
    void ResumeTodayGame();
    void ShowTodayLine();
    // At the end: the result is kept (counted) or the end says it was practice.
    void EndTodayGame();
    void CopyTodayResult();
    // The computer's final total in a duel (0 in a solo game); none while it still plays.
    std::optional<int> OpponentFinalTotal() const;
    // F5 and F6; true when taken.
    bool TodayKeyDown(int code);
    // After ResumeGame: the dice, the sheet and the buttons as the model has them.
    void ShowRestoredBoard();
    void ShowRestoredSheet();
    void FreeSceneAssets();

    CActorButton* todayChoice = nullptr;
    CActorButton* todayEnd = nullptr;
    // The date of today's game on the table, whether it counts, and whether its line is kept.
    std::string todayDate;
    bool todayCounted = false;
    bool todayLineKept = false;

    std::optional<GameSetup> nextSetup;
    // The current game's setup came from SetNextGameSetup, not the options.
    bool setupGiven = false;
};

// The current play scene; null while there is none.
inline CPlayScene* gPlayScene = nullptr;

// Makes the options, records or about scene (by its kind in SceneKinds.h) over
// the play scene.
// A null answer: nothing opens and the play scene comes back at once.
CScene* MakeFrontScene(CScreen* screen, CPlayScene* owner, int kind);
using PlayFrontSceneFactory = CScene* (*)(CScreen* screen, CPlayScene* owner, int kind);
inline PlayFrontSceneFactory gPlayFrontSceneFactory = MakeFrontScene;
