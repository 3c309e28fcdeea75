#include "round/XGame.h"

#include <algorithm>

#include "base/ZRankItem.h"
#include "base/ZRankList.h"
#include "base/ZStateStream.h"
#include "base/ZString.h"
#include "gfx/Display.h"
#include "gfx/Maths.h"
#include "gfx/Rect.h"
#include "gfx/ZAscii.h"
#include "gfx/ZSprite256.h"
#include "input/Controllers.h"
#include "input/Input.h"
#include "round/XCanvasPlane.h"
#include "round/XEffectManager.h"
#include "round/XItemChara.h"
#include "round/XPlayerChara.h"
#include "round/XResultBoard.h"
#include "round/XRollback.h"
#include "round/XSoundLedger.h"
#include "round/XTimerPlane.h"
#include "scenes/XInputText.h"
#include "shell/XAppData.h"
#include "shell/XMatchInput.h"
#include "shell/XMenuData.h"
#include "shell/XSettings.h"

namespace {

constexpr uint16_t kCountDownBitmap = 156;
constexpr uint16_t kStartSignalBitmap = 155;
constexpr uint16_t kItemBannerBitmap = 221;
constexpr uint16_t kPortraitsBitmap = 211;

// Body, brush, wide brush, blot and bounce image of players 1 to 4.
constexpr uint16_t kPlayerBitmaps[4][5] = {
    {109, 110, 246, 160, 126},
    {114, 116, 247, 161, 127},
    {115, 112, 248, 162, 128},
    {111, 113, 249, 163, 129},
};

// Battle start: each painter faces away from the middle along a diagonal.
constexpr int kStartDirections[4] = {96, 32, 160, 224};
constexpr int kBattleCentreX = 320;
constexpr int kBattleCentreY = 212;
constexpr float kStartStep = 40.0f;
constexpr int kRankingCentreX = 320;
constexpr int kRankingCentreY = 224;
constexpr int kRankingDirection = 64;

// Random value -> item kind: shoe, brushes, missile, three missiles, potion, clock. The clock and the
// potion sit at the end so that a smaller range leaves them out.
constexpr int32_t kKindByDraw[6] = {XItemChara::kShoe,           XItemChara::kBrushes, XItemChara::kMissile,
                                    XItemChara::kThreeMissiles, XItemChara::kPotion,  XItemChara::kClock};

constexpr int32_t kSoundCountDown3 = 182;
constexpr int32_t kSoundCountDown2 = 183;
constexpr int32_t kSoundCountDown1 = 181;
constexpr int32_t kSoundStart = 175;
constexpr int32_t kSoundCancel = 176;
constexpr int32_t kSoundItemTaken = 222;

constexpr uint32_t kFadeFrames = 20;
constexpr uint32_t kCountDownFrames = 80;
constexpr uint32_t kItemTakenFrames = 20;
constexpr uint32_t kTimeUpFrames = 30;

constexpr const char* kDefaultRankName = "KOVRA GAMES";

// Over the wooden frame in the top right corner, where it covers least of the field.
constexpr int kReplayLabelX = 566;
constexpr int kReplayLabelY = 2;

}  // namespace

XGame::XGame(XAppData* app) : app(app) {
    const XMenuData* settings = app->GetMenuSettings();
    battleMode = settings->IsBattleMode() != 0;

    item = std::make_unique<XItemChara>(app);
    canvas = std::make_unique<XCanvasPlane>(app);
    timer = std::make_unique<XTimerPlane>(app);
    resultBoard = std::make_unique<XResultBoard>(app);
    effects = std::make_unique<XEffectManager>(app);
    nameEntry = std::make_unique<XInputText>(app);
    countDownDigits = std::make_unique<ZSprite256>(kCountDownBitmap, 3);
    startSignal = std::make_unique<ZSprite256>(kStartSignalBitmap, 1);
    itemBanner = std::make_unique<ZSprite256>(kItemBannerBitmap, 1);
    portraits = std::make_unique<ZSprite256>(kPortraitsBitmap, 4);

    app->StopMusic();
    app->SelectMusic(2);

    nameEntry->SetSurface(GetBackSurface());
    nameEntry->SetPrompt(ZString("Enter Your Name  "));
    nameEntry->SetText(ZString(""), 15);
    nameEntry->CentreOnScreen();

    countDownDigits->SetCentre(320, 224);
    startSignal->SetCentre(320, 224);
    portraits->SetCentre(320, 188);
    portraits->SetTransparent(false);
    itemBanner->SetCentre(320, battleMode ? 274 : 224);

    item->SetBounds(canvas.get());

    for (int i = 0; i < 4; ++i) {
        const uint16_t* ids = kPlayerBitmaps[i];
        players[i] = std::make_unique<XPlayerChara>(app, ids[0], ids[1], ids[2], ids[3], ids[4]);
    }
    for (int i = 0; i < 4; ++i) {
        XPlayerChara* others[3];
        int n = 0;
        for (int j = 0; j < 4; ++j) {
            if (j != i) {
                others[n++] = players[j].get();
            }
        }
        players[i]->SetOpponents(others[0], others[1], others[2]);
    }
    for (int i = 0; i < 4; ++i) {
        players[i]->SetItem(item.get());
        players[i]->SetEffectManager(effects.get());
        players[i]->SetCanvas(canvas.get());
        resultBoard->SetPlayer(i, players[i].get());
    }
    for (int i = 0; i < 4; ++i) {
        int32_t type = settings->GetControlType(i);
        if (!battleMode) {
            type = i == 0 ? XPlayerChara::kHuman : XPlayerChara::kAbsent;
        }
        players[i]->SetControlType(type);
    }
    if (battleMode) {
        replaying = app->GetMatchInput()->IsReplaying();
        app->GetMatchInput()->BeginMatch(*settings);
        if (app->GetMatchInput()->IsOnline()) {
            rollback = std::make_unique<XRollback>();
            canvas->KeepHistory(true);
            app->GetSoundLedger()->SetOn(true);
        }
    }
    if (replaying) {
        replayLabel = std::make_unique<ZAscii>();
        replayLabel->SetFont(1);
    }

    phaseCounter = 0;
    phase = kFadeIn;
}

// Members go in reverse order: the objects the players point at first, the players last.
XGame::~XGame() {
    if (rollback) {
        app->GetSoundLedger()->SetOn(false);
    }
}

void XGame::StartRound() {
    ++roundNumber;
    itemTaker = -1;
    if (battleMode) {
        for (int i = 0; i < 4; ++i) {
            XPlayerChara* player = players[i].get();
            player->SetDirection(kStartDirections[i]);
            player->SetCentre(kBattleCentreX, kBattleCentreY);
            player->SetSpeed(kStartStep);
            player->Move();
            player->ResetForRound();
        }
    } else {
        XPlayerChara* player = players[0].get();
        player->SetDirection(kRankingDirection);
        player->SetCentre(kRankingCentreX, kRankingCentreY);
        player->ResetForRound();
    }
    item->SetKind(XItemChara::kNone);
    canvas->Reset();
    effects->ClearAll();
    timer->Reset();
    timer->SetRoundNumber(roundNumber);
}

void XGame::SpawnItem() {
    int range = 4;
    if (battleMode) {
        range = timer->GetItemTimes() < 3 ? 6 : 5;
    }
    item->SetKind(kKindByDraw[Random(range)]);

    // A good place always exists with four painters on the field; the bound only guards against a
    // field too small for the clearance, and then the last place tried stands.
    for (int attempt = 0; attempt < kMaxPlacementTries; ++attempt) {
        item->PlaceRandomly();
        bool clear = true;
        for (const auto& player : players) {
            if (player->GetControlType() == XPlayerChara::kAbsent) {
                continue;
            }
            double distance = Distance(item->GetCentreX(), item->GetCentreY(), player->GetCentreX(),
                                       player->GetCentreY());
            if (distance < kItemClearance) {
                clear = false;
                break;
            }
        }
        if (clear) {
            break;
        }
    }
    effects->AddEffect(XEffectManager::kItemRings, item->GetCentreX(), item->GetCentreY());

    for (auto& player : players) {
        player->SetComputerDelay(Random(25) + 5);
    }
}

void XGame::CountArea() {
    std::array<uint8_t, 4> colours{};
    for (int i = 0; i < 4; ++i) {
        colours[i] = players[i]->GetColour();
    }
    XCanvasPlane::AreaCount area = canvas->CountArea(colours);
    // Without a field nothing was counted; a total of 0 must not be divided by.
    auto share = [&](int i, double scale) {
        return area.total > 0 ? RoundToInt(static_cast<double>(area.counts[i]) / area.total * scale) : 0;
    };
    if (battleMode) {
        for (int i = 0; i < 4; ++i) {
            players[i]->SetScore(share(i, 100.0));
        }
    } else {
        players[0]->SetScore(share(0, 1000.0));
    }
}

bool XGame::IsMatchWon() {
    if (!battleMode) {
        return true;
    }
    int32_t winsNeeded = app->GetMenuSettings()->GetWinsNeeded();
    for (int i = 0; i < 4; ++i) {
        if (players[i]->GetWins() >= winsNeeded) {
            app->matchWinner = i;
            return true;
        }
    }
    return false;
}

XFrameInput XGame::ReadSeats() const {
    XFrameInput input;
    // Online, player 1's keys steer whichever seat this computer plays.
    bool online = battleMode && app->GetMatchInput()->GetLink();
    for (int i = 0; i < 4; ++i) {
        if (players[i]->GetControlType() != XPlayerChara::kHuman && !(i == 0 && online)) {
            continue;
        }
        const int* keys = app->GetSettings()->steeringKeys[i];
        bool left = IsKeyDown(keys[0]);
        bool right = IsKeyDown(keys[1]);
        if (i == 0 && left == right) {
            // Player 1's joystick steers when the keys do not.
            int horizontal = GetJoyHorizontal(1);
            left = horizontal == kJoyLeft;
            right = horizontal == kJoyRight;
        } else if (i == 3 && keys[0] == kKeyPad4 && keys[1] == kKeyPad6) {
            // Beside the keypad, the number row's 4 and 6, for keyboards without a keypad.
            left = left || IsKeyDown(kKey4);
            right = right || IsKeyDown(kKey6);
        }
        if (i > 0) {
            // A game controller steers beside the keys; the two asking opposite ways cancel out.
            int pad = GetControllerHorizontal(i);
            left = left || pad == kJoyLeft;
            right = right || pad == kJoyRight;
        }
        input.Steer(i, left, right);
    }
    // Only play takes Escape; a press meanwhile is nothing worth recording.
    input.escape = phase == kPlay && IsKeyPressed(kKeyEscape);
    return input;
}

// Every phase reads the keys, so that nothing pressed meanwhile counts as a press when play begins.
void XGame::TakeFrameInput() {
    UpdateInput();
    XFrameInput local = ReadSeats();
    frameInput = battleMode ? app->GetMatchInput()->Next(local) : local;
    ApplyFrameInput();
    // During a replay the keys steer nobody, and Escape leaves it at any moment.
    leavingReplay = leavingReplay || (replaying && IsKeyPressed(kKeyEscape));
}

void XGame::ApplyFrameInput() {
    // People who left an online match are played by the computer from the same frame on every computer.
    for (int i = 0; i < 4; ++i) {
        if ((frameInput.computerSeats >> i & 1) && players[i]->GetControlType() == XPlayerChara::kHuman) {
            players[i]->SetControlType(XPlayerChara::kComputer);
        }
    }
    stopped = stopped || (battleMode && !app->GetMatchInput()->GetStopReason().empty());
}

void XGame::SteerHumans() {
    for (int i = 0; i < 4; ++i) {
        XPlayerChara* player = players[i].get();
        if (player->GetControlType() != XPlayerChara::kHuman) {
            continue;
        }
        bool left = frameInput.IsLeft(i);
        bool right = frameInput.IsRight(i);
        if (left && !right) {
            player->TurnLeft();
        } else if (right && !left) {
            player->TurnRight();
        }
    }
}

void XGame::PlayFrame() {
    for (auto& player : players) {
        player->UpdateAnimation(phaseCounter);
    }
    SteerHumans();
    for (auto& player : players) {
        player->Think(phaseCounter);
        player->Move();
        player->UpdateState();
        player->ClampToField();
        player->CheckCharacterCollisions();
    }
    if (timer->IsItemDue()) {
        SpawnItem();
    }
    // The last in player order keeps a contested item.
    for (int i = 0; i < 4; ++i) {
        if (players[i]->CanPickUpItem()) {
            itemTaker = i;
        }
    }
}

void XGame::UpdateFrame() {
    XMatchInput* matchInput = app->GetMatchInput();
    if (rollback) {
        Rewind(matchInput);
        uint32_t frame = matchInput->GetFrame() + 1;
        if (phase == kFinished) {
            // The match's end, reached on guesses, stands once every frame up to it is known.
            matchInput->HoldForOthers(true);
            if (!finished && matchInput->IsConfirmed(frame - 1)) {
                FinishMatch();
            }
            DrawScene();
            return;
        }
        matchInput->HoldForOthers(false);
        rollback->Save(frame, *this, matchInput->WantsStateCheck(frame));
        SendStateCheck(matchInput, frame);
        app->GetSoundLedger()->BeginFrame(frame, frame);
    }
    TakeFrameInput();
    Step(true);
}

void XGame::Rewind(XMatchInput* matchInput) {
    uint32_t from = matchInput->TakeCorrection();
    uint32_t newest = matchInput->GetFrame();
    if (from == 0 || from > newest || !rollback->Restore(from, this)) {
        return;
    }
    uint32_t depth = newest - from + 1;
    corrections = {corrections.count + 1, corrections.frames + depth, std::max(corrections.deepest, depth)};
    for (uint32_t frame = from; frame <= newest; ++frame) {
        if (frame > from) {
            rollback->Save(frame, *this, matchInput->WantsStateCheck(frame));
        }
        app->GetSoundLedger()->BeginFrame(frame, newest);
        RunAgain(matchInput->Rerun(frame));
    }
}

void XGame::RunAgain(const XFrameInput& input) {
    frameInput = input;
    ApplyFrameInput();
    Step(false);
}

// A state is sent once every frame before it is known, from the snapshot taken before it ran. The next check
// is due 25 frames on, long after the snapshots allow the last to be known.
void XGame::SendStateCheck(XMatchInput* matchInput, uint32_t frame) {
    uint64_t sum = 0;
    if (pendingCheck && matchInput->IsConfirmed(pendingCheck - 1) && rollback->GetSum(pendingCheck, &sum)) {
        matchInput->CheckState(pendingCheck, sum);
        pendingCheck = 0;
    }
    if (matchInput->WantsStateCheck(frame)) {
        pendingCheck = frame;
    }
}

void XGame::Step(bool seen) {
    switch (phase) {
        case kPlay: PlayFrame(); break;
        case kItemTaken:
            if (phaseCounter == 0) {
                portraits->SetFrame(itemTaker >= 0 ? itemTaker : 0);
                app->PlaySoundEffect(kSoundItemTaken, 0);
            } else if (phaseCounter == kItemTakenFrames - 1) {
                if (itemTaker >= 0 && itemTaker < 4) {
                    players[itemTaker]->ApplyItem();
                }
                itemTaker = -1;
            }
            break;
        case kCountDown:
            if (phaseCounter == 0) {
                app->PlaySoundEffect(kSoundCountDown3, 0);
            } else if (phaseCounter == 20) {
                app->PlaySoundEffect(kSoundCountDown2, 0);
            } else if (phaseCounter == 40) {
                app->PlaySoundEffect(kSoundCountDown1, 0);
            } else if (phaseCounter == 60) {
                app->PlaySoundEffect(kSoundStart, 0);
            }
            break;
        case kResult:
            if (phaseCounter == 0) {
                CountArea();
                resultBoard->Start();
            }
            break;
        case kFadeIn:
            if (phaseCounter == 0) {
                StartRound();
            }
            break;
        case kNameEntry: nameEntry->Update(); break;
        default: break;
    }
    PaintField();
    if (seen) {
        DrawScene();
    }
    ++phaseCounter;
    AdvancePhase();
}

// The brushes paint the field as part of the round, whether the frame is seen or not.
void XGame::PaintField() {
    if (!GetBackSurface() || phase == kFinished || phase == kNameEntry || phase == kResult || phase == kFadeOut) {
        return;
    }
    for (auto& player : players) {
        player->Paint();
    }
}

void XGame::SaveState(ZStateStream* out) const {
    out->Put(GetRandomState(), roundNumber, itemTaker, phaseCounter, phase, aborted, frameInput, matchChecksum,
             leavingReplay, stopped, portraits->GetFrame());
    for (const auto& player : players) {
        player->SaveState(out);
    }
    item->SaveState(out);
    canvas->SaveState(out);
    timer->SaveState(out);
    resultBoard->SaveState(out);
    effects->SaveState(out);
}

void XGame::LoadState(ZStateStream* in) {
    uint32_t random = 0;
    int portrait = 0;
    in->Get(random, roundNumber, itemTaker, phaseCounter, phase, aborted, frameInput, matchChecksum, leavingReplay,
            stopped, portrait);
    SeedRandomWith(random);
    portraits->SetFrame(portrait);
    for (auto& player : players) {
        player->LoadState(in);
    }
    item->LoadState(in);
    canvas->LoadState(in);
    timer->LoadState(in);
    resultBoard->LoadState(in);
    effects->LoadState(in);
}

void XGame::ChangePhase(uint32_t newPhase) {
    phaseCounter = 0;
    phase = newPhase;
}

void XGame::AdvancePhase() {
    if ((leavingReplay || stopped) && phase != kFadeOut && phase != kFinished && !aborted) {
        app->PlaySoundEffect(kSoundCancel, 0);
        aborted = true;
        ChangePhase(kFadeOut);
        return;
    }
    switch (phase) {
        case kPlay:
            if (frameInput.escape) {
                app->PlaySoundEffect(kSoundCancel, 0);
                aborted = true;
                ChangePhase(kFadeOut);
            } else if (itemTaker >= 0 && itemTaker < 4) {
                // The announcement is not taken from the round's time.
                ChangePhase(kItemTaken);
            } else {
                effects->Update();
                timer->Tick();
                if (timer->GetRemaining() == 0) {
                    ChangePhase(kTimeUp);
                }
            }
            break;
        case kItemTaken:
            if (phaseCounter >= kItemTakenFrames) {
                ChangePhase(kPlay);
            }
            break;
        case kCountDown:
            if (phaseCounter >= kCountDownFrames) {
                ChangePhase(kPlay);
            }
            break;
        case kTimeUp:
            if (phaseCounter >= kTimeUpFrames) {
                ChangePhase(kResult);
            }
            break;
        case kResult:
            resultBoard->Update();
            if (resultBoard->GetState() == XResultBoard::kFinished) {
                ChangePhase(kFadeOut);
            }
            break;
        case kFadeIn:
            if (phaseCounter > kFadeFrames) {
                ChangePhase(kCountDown);
            }
            break;
        case kFadeOut:
            if (phaseCounter > kFadeFrames) {
                EndRound();
            }
            break;
        case kNameEntry:
            if (nameEntry->IsDone()) {
                StoreRankEntry();
            }
            break;
        default: break;
    }
}

void XGame::EndRound() {
    AddRoundTo(&matchChecksum);
    resultBoard->SetState(XResultBoard::kHidden);
    phaseCounter = 0;
    if (aborted || (battleMode && IsMatchWon())) {
        phase = kFinished;
        if (!rollback) {
            FinishMatch();
        }
        return;
    }
    if (battleMode) {
        phase = kFadeIn;
        return;
    }
    ZRankItem probe(ZString("Dummy"), static_cast<uint32_t>(players[0]->GetScore()));
    if (app->GetHighScores()->FindRank(probe) >= 0) {
        nameEntry->Begin();
        phase = kNameEntry;
    } else {
        phase = kFinished;
        app->sceneState = XAppData::kCreateRanking;
    }
}

void XGame::FinishMatch() {
    finished = true;
    EndMatch();
    app->sceneState = !aborted ? XAppData::kCreateWinner : battleMode ? XAppData::kCreateMenu : XAppData::kCreateRanking;
}

void XGame::EndMatch() {
    matchChecksum.AddInt(aborted ? -1 : app->matchWinner);
    if (battleMode) {
        app->GetMatchInput()->EndMatch(matchChecksum.Get(), leavingReplay);
    }
}

void XGame::AddRoundTo(ZChecksum* checksum) const {
    for (const auto& player : players) {
        checksum->AddInt(player->GetScore());
    }
    if (Surface* field = canvas->GetFieldSurface()) {
        for (int y = 0; y < field->GetHeight(); ++y) {
            checksum->Add(field->Row(y), static_cast<size_t>(field->GetWidth()));
        }
    }
    checksum->AddInt(resultBoard->GetWinner());
}

void XGame::AddStateTo(ZChecksum* checksum) const {
    for (const auto& player : players) {
        for (int32_t value : {player->GetX(), player->GetY(), player->GetDirection(), player->GetState(),
                              player->GetControlType()}) {
            checksum->AddInt(value);
        }
    }
    if (Surface* field = canvas->GetFieldSurface()) {
        // Compared once a second on every computer: the quick pass over the field.
        for (int y = 0; y < field->GetHeight(); ++y) {
            checksum->AddWords(field->Row(y), static_cast<size_t>(field->GetWidth()));
        }
    }
}

void XGame::StoreRankEntry() {
    ZString name = nameEntry->GetText();
    name.Trim(2, ' ');
    if (name.GetLength() == 0) {
        name = ZString(kDefaultRankName);
    }
    app->GetHighScores()->Insert(ZRankItem(name, static_cast<uint32_t>(players[0]->GetScore())));
    ChangePhase(kFinished);
    app->sceneState = XAppData::kCreateRanking;
}

void XGame::DrawScene() {
    Surface* back = GetBackSurface();
    // A computer nobody watches draws nothing.
    if (!back || app->unwatched) {
        return;
    }
    if (phase == kFinished || phase == kNameEntry) {
        WipeTopBottom(back, 100);
        if (phase == kNameEntry) {
            nameEntry->Draw();
        }
        return;
    }
    // The field covers the screen above the timer bar, so only the bar's rows need the black.
    Surface* field = canvas->GetFieldSurface();
    if (field && field->GetWidth() >= back->GetWidth() && field->GetHeight() < back->GetHeight()) {
        Rect below{0, field->GetHeight(), back->GetWidth(), back->GetHeight()};
        back->ColourFill(&below, 0);
    } else {
        WipeTopBottom(back, 100);
    }
    if (phase == kResult || phase == kFadeOut) {
        canvas->Draw(0, 0, back);
        timer->Draw(back);
        resultBoard->Draw(back);
    } else {
        canvas->Draw(0, 0, back);
        for (auto& player : players) {
            player->DrawShadow(back);
        }
        item->DrawShadow(back);
        for (auto& player : players) {
            player->SetArrowVisible(phase != kTimeUp);
        }
        DrawSorted();
        effects->Draw(back);
        timer->Draw(back);
        if (phase == kCountDown) {
            if (phaseCounter < 60) {
                // Cells 2, 1, 0 hold the digits 3, 2, 1.
                countDownDigits->SetFrame(2 - static_cast<int>(phaseCounter / 20));
                countDownDigits->Draw(back);
            } else {
                startSignal->Draw(back);
            }
        } else if (phase == kItemTaken) {
            if (battleMode) {
                portraits->Draw(back);
            }
            itemBanner->Draw(back);
        }
    }
    if (replayLabel) {
        replayLabel->SetSurface(back);
        replayLabel->DrawString(kReplayLabelX, kReplayLabelY, "REPLAY");
    }
    if (phase == kFadeIn) {
        WipeColumns(back, static_cast<int>(100 - 5 * phaseCounter));
    } else if (phase == kFadeOut) {
        WipeColumns(back, static_cast<int>(5 * phaseCounter));
    }
}

void XGame::DrawSorted() {
    ZSprite256* order[5] = {players[0].get(), players[1].get(), players[2].get(), players[3].get(), item.get()};
    // Lower sprites cover higher ones. The sort is stable, so equal bottoms always keep the list order
    // (players before the item, lower numbers first); a plain exchange sort can reverse two equal ones.
    for (int i = 1; i < 5; ++i) {
        ZSprite256* sprite = order[i];
        int bottom = sprite->GetY() + sprite->GetHeight();
        int j = i;
        while (j > 0 && order[j - 1]->GetY() + order[j - 1]->GetHeight() > bottom) {
            order[j] = order[j - 1];
            --j;
        }
        order[j] = sprite;
    }
    Surface* back = GetBackSurface();
    for (ZSprite256* sprite : order) {
        sprite->Draw(back);
    }
}
