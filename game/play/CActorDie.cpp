#include "game/play/CActorDie.h"

#include <algorithm>

#include "common/actors/CActorSprite.h"
#include "common/scene/CInputRouting.h"
#include "common/scene/COptions.h"
#include "common/scene/CRect.h"
#include "common/scene/CScene.h"
#include "common/scene/CScreen.h"
#include "common/actors/CSpriteA.h"
#include "game/play/CActorDiceDrag.h"
#include "game/rules/CBoardState.h"
#include "game/play/DieAssets.h"
#include "game/rules/CGameOptions.h"
#include "game/rules/Random.h"

namespace {

constexpr int kSelectLift = ToFixed(3);  // companions stand nearer than the die
constexpr int kGlowLift = ToFixed(2);
constexpr int kMarkerLift = ToFixed(1);

// Option DiceSpeed Fast: the dice fall, rise and settle this many times
// faster and roll as many times shorter, so that five dice settle within 1 s.
int SpeedUp() { return DiceFast() ? kFastDiceFactor : 1; }

// A roll's length: kRollTime + Random(3) x 51.2 ticks, truncated (shortened at Fast).
int RollLength() { return (kRollTime + Random(3) * 512 / 10) / SpeedUp(); }

// A falling die stops once it is 1 px past its rest place (174 px for row 4,
// after a 56 px fall from the top); the rest place then takes it.
int FallStopY(int row) { return DieRestY(row) + ToFixed(1); }

CAnimParams Params(int startIndex, float rate) {
    CAnimParams params;
    params.startIndex = startIndex;
    params.flip = 0;
    params.rate = rate;
    return params;
}

IDiceScene* DiceScene() { return pDiceScene; }

}  // namespace

bool IsDiceClickMode() {
    const COptions* options = CScreen::Options();
    return options && options->GetDiceMoveMode() == 1;
}

CActorDie::CActorDie(CScene* owner, int px, int py, int pz, CActorDie* next, int index)
    : CActorAnim(owner, px, py, pz, 0, 0), nextInRow(next), boardIndex(index) {
    homeY = AbsoluteY();
    homeZ = pz;
    cyclePeriod = cycleCountdown = kCycleBase + Random(5) * 256 / 10;
    savedFace = 1;
    ShowFace(1);
    stopped = 1;
    SetY(kDiceTop);
    Hide();

    const DieAssetSet& art = DieAssets();
    selectFrame = new CActorSprite(owner, AbsoluteX(), AbsoluteY(), pz - kSelectLift, art.select, 0);
    selectFrame->Hide();
    marker = new CActorSprite(owner, AbsoluteX(), AbsoluteY(), pz - kMarkerLift, art.marker, 0);
    marker->Hide();
    glow = new CActorAnim(owner, AbsoluteX(), AbsoluteY(), pz - kGlowLift, 0, 0);
    glow->Hide();
    for (CActor* companion : {static_cast<CActor*>(selectFrame), static_cast<CActor*>(marker),
                              static_cast<CActor*>(glow)}) {
        companion->StartMoving();  // they travel with the die's velocity
        AddCompanion(companion);
    }
    ResetGlow();
}

// The scene frees the companions; they die with this die through Kill.
CActorDie::~CActorDie() = default;

const DieState* CActorDie::State() const {
    IDiceScene* owner = DiceScene();
    if (!owner || boardIndex < 0 || boardIndex >= kDieCount) return nullptr;
    return &owner->DiceBoard().dice[boardIndex];
}

int CActorDie::GetFace() const { return index + 1; }
int CActorDie::Colour() const {
    const DieState* state = State();
    return state ? state->colour : ShownColour();
}
int CActorDie::Row() const {
    const DieState* state = State();
    return state ? state->row : -1;
}
bool CActorDie::IsHeld() const {
    const DieState* state = State();
    return state && state->held;
}
bool CActorDie::IsLocked() const {
    const DieState* state = State();
    return !state || state->locked;
}
bool CActorDie::IsMovable() const {
    const DieState* state = State();
    return state && state->movable;
}
bool CActorDie::IsRolling() const {
    const DieState* state = State();
    return state ? state->rolling : rollTimer > 0;
}
bool CActorDie::IsMoving() const {
    const DieState* state = State();
    return state ? state->moving : vy != 0;
}

int CActorDie::ShownColour() const {
    const DieAssetSet& art = DieAssets();
    for (int colour = 0; colour < kDieColours; ++colour)
        if (frames && (frames == art.faces[colour] || frames == art.rolls[colour])) return colour;
    return 0;
}

void CActorDie::SetXY(int px, int py) {
    selectFrame->SetXY(px, py);
    marker->SetXY(px, py);
    glow->SetXY(px, py);
    CActorAnim::SetXY(px, py);
}

void CActorDie::SetX(int px) {
    selectFrame->SetX(px);
    marker->SetX(px);
    glow->SetX(px);
    CActorAnim::SetX(px);
}

void CActorDie::SetY(int py) {
    // The companions do not exist yet while the constructor places the die.
    if (selectFrame) {
        selectFrame->SetY(py);
        marker->SetY(py);
        glow->SetY(py);
    }
    CActorAnim::SetY(py);
}

void CActorDie::SetVelocityX(int nvx) {
    selectFrame->SetVelocityX(nvx);
    marker->SetVelocityX(nvx);
    glow->SetVelocityX(nvx);
    CActorAnim::SetVelocityX(nvx);
}

void CActorDie::SetVelocityY(int nvy) {
    selectFrame->SetVelocityY(nvy);
    marker->SetVelocityY(nvy);
    glow->SetVelocityY(nvy);
    CActorAnim::SetVelocityY(nvy);
}

void CActorDie::ShowLook(int face, int colour) {
    CSpriteArray* array = DieAssets().faces[colour & 3];
    SetAnimation(array, Params(face - 1, 8.0f), 0, 0);
    ShowFrame(face - 1);
    // A face stands still: without this the animation would walk on to the
    // array's last face.
    stopped = 1;
}

void CActorDie::ShowFace(int n) { ShowLook(n, Colour()); }

void CActorDie::SyncHoldFrame() {
    if (IsHeld())
        selectFrame->Show();
    else
        selectFrame->Hide();
}

void CActorDie::SetHold(bool on, bool withSound) {
    if (IsRolling() || IsLocked()) return;  // refused, silently
    IDiceScene* owner = DiceScene();
    // A first-half hold is a move of the rules; a second-half pick was made by
    // the model already and is only shown here.
    if (owner && !owner->DiceSecondHalf() && IsHeld() != on && !owner->DiceBoard().ToggleHold(boardIndex)) return;
    SyncHoldFrame();
    if (withSound) PlayDieSound(kDieSoundHold);
}

void CActorDie::ToggleHold(bool withSound) { SetHold(selectFrame->hidden != 0, withSound); }

void CActorDie::SetMovable(bool on) {
    if (glowMovable == on) return;
    glowMovable = on;
    if (on) {
        glow->backwards = 1;
        // Already on the movable look: running backwards from frame 0 would
        // wrap round to the last frame first.
        glow->stopped = glow->index <= 0 ? 1 : 0;
    } else {
        glow->backwards = 0;
        glow->stopped = glow->index + 1 >= glow->FrameCount() ? 1 : 0;
        SetHold(false, false);
    }
}

void CActorDie::ResetGlow() {
    glow->SetAnimation(DieAssets().glows[Colour() & 3], Params(0, 16.0f), 0, 0);
    glow->stopped = 1;
    glow->stopAtEnd = 1;
    glow->ShowStartFrame();
}

void CActorDie::ShowMarker() { marker->Show(); }
void CActorDie::HideMarker() { marker->Hide(); }
bool CActorDie::IsMarked() const { return marker->hidden == 0; }

void CActorDie::Drop(int row) {
    (void)row;  // the model sends every rolled die to the rolling place
    CActorDie* die = this;
    while (die && die->AbsoluteY() > kDiceTop + kWaitingBand) die = die->nextInRow;
    if (!die) return;
    // Every die of a re-roll reports its arrival at the top in the same frame;
    // the first report started this die already and the cascade runs on.
    if (die->vy > 0) return;
    die->Show();
    die->SetVelocityY(kFallSpeed * SpeedUp());
    die->StartRoll(RollLength());
    CountRollStart();
}

void CActorDie::StartRoll(int time) {
    if (IDiceScene* owner = DiceScene()) owner->DiceBoard().StartDieRoll(boardIndex);  // draws the colour
    CSpriteArray* array = DieAssets().rolls[Colour() & 3];
    const int count = array ? array->GetCount() : 0;
    SetAnimation(array, Params(Random(count), static_cast<float>(8 + Random(4))), 0, 0);
    backwards = Random(2);
    pingPong = 1;
    SetZ(homeZ - kRollDepthLift);
    stopped = 0;
    stopAtEnd = 0;
    ShowStartFrame();
    rollTimer = time;
}

void CActorDie::StartRollShow(int time) {
    CSpriteArray* array = DieAssets().rolls[ShownColour()];
    const int count = array ? array->GetCount() : 0;
    SetAnimation(array, Params(Random(count), static_cast<float>(8 + Random(4))), 0, 0);
    SetZ(homeZ - kRollDepthLift);
    stopped = 0;
    stopAtEnd = 0;
    ShowStartFrame();
    rollTimer = time;
}

void CActorDie::Rise(int row) {
    (void)row;  // the model has set the row the die travels to
    landed = false;
    SetVelocityY((Row() < 0 ? kRerollRiseSpeed : kRiseSpeed) * SpeedUp());
}

void CActorDie::Settle(int row) {
    (void)row;
    SetVelocityY(kSettleSpeed * SpeedUp());
    Show();
}

void CActorDie::FallStep() {
    if (!cascadeStarted && AbsoluteY() >= kDiceTop + kCascadeGap) {
        if (nextInRow) nextInRow->Drop(Row());
        cascadeStarted = true;
    }
    const int row = Row();
    if (row < 0 || AbsoluteY() < FallStopY(row)) return;
    SetVelocityY(0);
    SetY(DieRestY(row));
    landed = true;
    if (IDiceScene* owner = DiceScene()) owner->DiceBoard().DieArrived(boardIndex);
}

void CActorDie::RiseStep() {
    const int row = Row();
    if (row < 0) {
        if (AbsoluteY() > kDiceTop) return;
        SetVelocityY(0);
        SetY(kDiceTop);
        if (IDiceScene* owner = DiceScene()) owner->OnDieAtTop(this);
        return;
    }
    if (AbsoluteY() > DieRestY(row)) return;
    SetVelocityY(0);
    SetY(DieRestY(row));
    landed = true;
    if (IDiceScene* owner = DiceScene()) owner->DiceBoard().DieArrived(boardIndex);
}

void CActorDie::RollShowStep() {
    if (!glow->stopped) return;
    glow->Hide();
    savedFace = GetFace();
    StartRollShow(kEndRollTime);
    rollShow = false;
}

void CActorDie::CycleStep() {
    if (!glow->stopped) return;
    int colour = ShownColour() + 1;
    int face = GetFace();
    if (colour == kDieColours) {
        colour = 0;
        face = face % 6 + 1;
    }
    ShowLook(face, colour);
}

int CActorDie::IdleTicks() {
    if (vy != 0) return 0;
    int idle = CActorAnim::IdleTicks();
    if (rollTimer > 0) idle = std::min(idle, rollTimer);
    IDiceScene* owner = DiceScene();
    if (owner && owner->DiceGameOver()) {
        if (rollShow) return 0;
        if (cycleFaces && cycleCountdown > 0) idle = std::min({idle, cycleCountdown, std::max(cycleTicksLeft, 1)});
    }
    return idle;
}

void CActorDie::Update(int ticks) {
    IDiceScene* owner = DiceScene();
    const bool gameOver = owner && owner->DiceGameOver();

    if (vy > 0) FallStep();
    else if (vy < 0) RiseStep();

    if (rollTimer > 0) {
        rollTimer -= ticks;
        if (rollTimer <= 0) {
            rollTimer = 0;
            SetZ(homeZ);
            stopped = 1;
            if (gameOver) {
                ShowLook(savedFace, ShownColour());
            } else {
                if (owner) owner->DiceBoard().EndDieRoll(boardIndex);  // draws the face
                ShowFace(State() ? State()->face : Random(6) + 1);
            }
        }
    } else {
        cascadeStarted = false;
    }

    if (gameOver) {
        if (rollShow) {
            RollShowStep();
        } else if (cycleFaces && cycleCountdown > 0) {
            cycleTicksLeft -= ticks;
            cycleCountdown -= ticks;
            if (cycleTicksLeft <= 0) {
                // The celebration is over: the final board shows again as it was scored.
                cycleFaces = false;
                ShowFace(State() ? State()->face : GetFace());
            } else if (cycleCountdown <= 0) {
                CycleStep();
                cycleCountdown = cyclePeriod;
            }
        }
    }

    // A press whose capture was taken away (a dialog or a page was built) is over.
    if (leftPressed && GetCaptureActor() != this) leftPressed = false;

    SyncHoldFrame();
    CActorAnim::Update(ticks);
}

void CActorDie::ResetEffects(int a, int b) {
    CActorAnim::ResetEffects(a, b);
    SyncHoldFrame();
    cycleFaces = false;
    cycleTicksLeft = kEndCycleTicks;
    StartMoving();
    rollShow = landed = cascadeStarted = false;
    glowMovable = true;
    ResetRollSoundCountdown();
    rollTimer = 0;
    cycleCountdown = cyclePeriod;
    SetAnimation(DieAssets().faces[Colour() & 3], Params(0, 8.0f), 0, 0);
    stopAtEnd = 1;
    stopped = 1;
    ShowStartFrame();
    SetZ(homeZ);
    SetY(kDiceTop);
    Hide();
    glow->Hide();
    SetVelocityY(0);
}

bool CActorDie::InsideDie(const CMouseEvent& event) const { return RectContains(bounds, event.x, event.y); }

void CActorDie::DropGesture() {
    if (pDiceDrag) {
        pDiceDrag->StopDrag();
        pDiceDrag->Hide();
    }
    leftPressed = false;
    if (GetCaptureActor() == this) SetCapture(nullptr);
}

int CActorDie::WantsMouse(const CMouseEvent& event) {
    if (hidden) return 0;
    IDiceScene* owner = DiceScene();
    if (!owner || owner->DiceGameOver()) return 0;
    switch (event.type) {
    case MOUSE_LEFT_DOWN:
    case MOUSE_LEFT_DOUBLE:
        return 1;
    case MOUSE_LEFT_UP:
        // A release whose press was elsewhere (the background) is not this die's.
        return leftPressed ? 1 : 0;
    case MOUSE_RIGHT_DOWN:
    case MOUSE_RIGHT_DOUBLE:
    case MOUSE_RIGHT_UP:
        return IsDiceClickMode() ? 1 : 0;
    default:
        return 0;
    }
}

int CActorDie::OnMouse(const CMouseEvent& event) {
    IDiceScene* owner = DiceScene();
    if (!owner) return 0;
    const bool captured = GetCaptureActor() == this;
    if (scene && scene->IsLeaving()) {
        // The scene fades out to another: a press it still holds ends without effect.
        if (captured) DropGesture();
        return 1;
    }
    switch (event.type) {
    case MOUSE_LEFT_DOWN:
    case MOUSE_LEFT_DOUBLE:  // the second press of a quick second click is a press too
        SetCapture(this);
        leftPressed = true;
        owner->OnDiePressed(this, DieButton::Left);
        if (IsMovable() && pDiceDrag && owner->DiceSecondHalf()) pDiceDrag->StartDrag(this, event.x, event.y);
        return 1;
    case MOUSE_LEFT_UP:
        if (!captured) {
            if (!leftPressed) return 0;
            leftPressed = false;
            break;  // as a right press
        }
        if (InsideDie(event) && !owner->DiceSecondHalf()) ToggleHold(true);
        owner->OnDieReleased(this, event.x, event.y, IsMovable());
        DropGesture();
        return 1;
    case MOUSE_RIGHT_DOWN:
    case MOUSE_RIGHT_DOUBLE:
        break;
    case MOUSE_RIGHT_UP:
        if (!captured || !IsDiceClickMode()) return 0;
        if (InsideDie(event)) owner->OnDiePressed(this, DieButton::Right);
        SetCapture(nullptr);
        return 1;
    default:
        return 0;
    }
    // A right press, or a left release this die did not see pressed.
    if (owner->DiceSecondHalf() && IsDiceClickMode()) SetCapture(this);
    return 1;
}
