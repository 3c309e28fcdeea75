#include "round/XResultBoard.h"

#include "base/ZStateStream.h"
#include "gfx/Display.h"
#include "round/XPlayerChara.h"
#include "shell/XAppData.h"
#include "shell/XMenuData.h"

namespace {

constexpr uint16_t kLargeDigitsBitmap = 143;
constexpr uint16_t kHugeDigitsBitmap = 234;
constexpr uint16_t kSmallDigitsBitmap = 217;
constexpr uint16_t kPlayerLabelsBitmap = 141;
constexpr uint16_t kSmallPercentBitmap = 151;
constexpr uint16_t kBigPercentBitmap = 235;
constexpr uint16_t kTinyPercentBitmap = 218;
constexpr uint16_t kDrawSignBitmap = 153;
constexpr uint16_t kDecimalPointBitmap = 233;
constexpr uint16_t kTrophyBitmap = 149;
constexpr uint16_t kBrushIconsBitmap = 145;
constexpr uint16_t kScrollBitmap = 165;
constexpr uint16_t kResultTitleBitmap = 214;
constexpr uint16_t kTeamBracketBitmap = 219;

constexpr int32_t kSoundSlide = 179;
constexpr int32_t kSoundReveal = 220;
constexpr int32_t kSoundWinner = 184;

// The board comes to rest 79 steps of 5 pixels below where it starts.
constexpr uint32_t kSlideFrames = 80;
constexpr int32_t kSlideStep = 5;
constexpr uint32_t kSingleRevealEnd = 100;
constexpr uint32_t kTeamRevealEnd = 115;
constexpr uint32_t kVerdictFrames = 80;
constexpr uint32_t kHoldFrames = 10;
constexpr uint32_t kRankingShownFrames = 80;
constexpr int32_t kCountUpStep = 6;

// Team battle: the frames at which players 1 and 2, team 0, players 3 and 4 and team 1 are revealed.
constexpr uint32_t kTeamRevealFrames[6] = {15, 30, 45, 65, 80, 95};
constexpr int32_t kTeamRowOffsets[4] = {0, 44, 100, 144};
constexpr int32_t kTeamTotalOffsets[2] = {22, 122};

// Marks the palette indices that a sprite can put on a surface.
void MarkDrawnIndices(const ZSprite256* sprite, std::array<bool, 256>* drawn) {
    const Surface* surface = sprite ? sprite->GetSurface() : nullptr;
    if (!surface) {
        return;
    }
    int key = sprite->IsTransparent() ? sprite->GetColourKey() : -1;
    for (int row = 0; row < surface->GetHeight(); ++row) {
        const uint8_t* pixels = surface->Row(row);
        for (int column = 0; column < surface->GetWidth(); ++column) {
            if (pixels[column] != key) {
                (*drawn)[pixels[column]] = true;
            }
        }
    }
}

}  // namespace

XResultBoard::XResultBoard(XAppData* app)
    : app(app),
      largeDigits(std::make_unique<ZNumber>(kLargeDigitsBitmap)),
      hugeDigits(std::make_unique<ZNumber>(kHugeDigitsBitmap)),
      smallDigits(std::make_unique<ZNumber>(kSmallDigitsBitmap)),
      playerLabels(std::make_unique<ZSprite256>(kPlayerLabelsBitmap, 4)),
      smallPercent(std::make_unique<ZSprite256>(kSmallPercentBitmap, 1)),
      bigPercent(std::make_unique<ZSprite256>(kBigPercentBitmap, 1)),
      tinyPercent(std::make_unique<ZSprite256>(kTinyPercentBitmap, 1)),
      drawSign(std::make_unique<ZSprite256>(kDrawSignBitmap, 1)),
      decimalPoint(std::make_unique<ZSprite256>(kDecimalPointBitmap, 1)),
      trophy(std::make_unique<ZSprite256>(kTrophyBitmap, 1)),
      brushIcons(std::make_unique<ZSprite256>(kBrushIconsBitmap, 4)),
      scroll(std::make_unique<ZSprite256>(kScrollBitmap, 1)),
      resultTitle(std::make_unique<ZSprite256>(kResultTitleBitmap, 3)),
      teamBracket(std::make_unique<ZSprite256>(kTeamBracketBitmap, 1)) {
    for (ZNumber* digits : {largeDigits.get(), hugeDigits.get(), smallDigits.get()}) {
        digits->SetSurface(GetBackSurface());
        digits->SetZeroFill(false);
    }
    Mode mode = GetMode();
    resultTitle->SetFrame(mode == Mode::Single ? 0 : mode == Mode::Team ? 1 : 2);
    PrepareComposition();
}

void XResultBoard::PrepareComposition() {
    if (!scroll->GetSurface()) {
        return;
    }
    std::array<bool, 256> drawn{};
    const ZSprite256* pieces[] = {
        scroll.get(),       resultTitle.get(),        playerLabels.get(),      brushIcons.get(),
        smallPercent.get(), bigPercent.get(),         tinyPercent.get(),       trophy.get(),
        teamBracket.get(),  largeDigits->GetDigits(), smallDigits->GetDigits()};
    for (const ZSprite256* sprite : pieces) {
        MarkDrawnIndices(sprite, &drawn);
    }
    int key = scroll->GetColourKey();
    for (int index = 0; drawn[key] && index < 256; ++index) {
        key = index;
    }
    if (drawn[key]) {
        return;
    }
    composed = CreateOffscreenSurface(scroll->GetWidth(), scroll->GetHeight(), true);
    if (composed) {
        // Cut like the screen would cut the pieces, so a piece half off the board still draws its half.
        composed->SetClipRect(Rect{0, 0, composed->GetWidth(), composed->GetHeight()});
        composed->SetColourKey(static_cast<uint8_t>(key));
    }
}

XResultBoard::Face XResultBoard::GetFace() const {
    Face face{revealed, teamRevealed, {}, {}};
    for (int i = 0; i < 4; ++i) {
        face.scores[i] = ScoreOf(i);
        face.wins[i] = WinsOf(i);
    }
    return face;
}

XResultBoard::~XResultBoard() = default;

XResultBoard::Mode XResultBoard::GetMode() const {
    const XMenuData* settings = app ? app->GetMenuSettings() : nullptr;
    if (!settings) {
        return Mode::Single;
    }
    if (!settings->IsBattleMode()) {
        return Mode::Ranking;
    }
    return settings->IsSingleBattle() ? Mode::Single : Mode::Team;
}

void XResultBoard::SetPlayer(int index, XPlayerChara* player) {
    if (index >= 0 && index < 4) {
        players[index] = player;
    }
}

int32_t XResultBoard::ScoreOf(int index) const { return players[index] ? players[index]->GetScore() : 0; }

int32_t XResultBoard::WinsOf(int index) const { return players[index] ? players[index]->GetWins() : 0; }

void XResultBoard::Start() {
    revealed.fill(false);
    teamRevealed.fill(false);
    shownValue = 0;
    winner = DecideWinner();
    x = kStartX;
    y = kStartY;
    counter = 0;
    state = kSlideIn;
}

int32_t XResultBoard::DecideWinner() const {
    switch (GetMode()) {
        case Mode::Ranking: return 0;
        case Mode::Team: {
            int32_t teamA = ScoreOf(0) + ScoreOf(1);
            int32_t teamB = ScoreOf(2) + ScoreOf(3);
            if (teamA == teamB) {
                return -1;
            }
            return teamA > teamB ? 0 : 2;
        }
        case Mode::Single: break;
    }
    int best = 0;
    for (int i = 1; i < 4; ++i) {
        if (ScoreOf(i) > ScoreOf(best)) {
            best = i;
        }
    }
    // Only a tie at the top is a draw.
    for (int i = 0; i < 4; ++i) {
        if (i != best && ScoreOf(i) == ScoreOf(best)) {
            return -1;
        }
    }
    return best;
}

void XResultBoard::Reveal(int index) {
    app->PlaySoundEffect(kSoundReveal, 0);
    revealed[index] = true;
}

void XResultBoard::Update() {
    ++counter;
    switch (state) {
        case kSlideIn:
            if (counter == 10) {
                app->PlaySoundEffect(kSoundSlide, 0);
            }
            if (counter < kSlideFrames) {
                y += kSlideStep;
            } else {
                counter = 0;
                state = kReveal;
            }
            break;
        case kReveal: UpdateReveal(); break;
        case kWinner:
            if (counter == 1) {
                app->PlaySoundEffect(kSoundWinner, 0);
            }
            if (counter >= kVerdictFrames) {
                if (winner >= 0 && players[winner]) {
                    players[winner]->SetWins(players[winner]->GetWins() + 1);
                }
                counter = 0;
                state = kHold;
            }
            break;
        case kDraw:
            if (counter >= kVerdictFrames) {
                counter = 0;
                state = kHold;
            }
            break;
        case kHold:
            if (counter >= kHoldFrames) {
                counter = 0;
                state = kFinished;
            }
            break;
        case kRankingShown:
            if (counter >= kRankingShownFrames) {
                counter = 0;
                state = kFinished;
            }
            break;
        default: break;
    }
}

void XResultBoard::UpdateReveal() {
    Mode mode = GetMode();
    if (mode == Mode::Ranking) {
        if (counter == 11) {
            revealed[0] = true;
        } else if (counter >= 12) {
            if (counter % 3 == 0) {
                app->PlaySoundEffect(kSoundReveal, 0);
            }
            shownValue += kCountUpStep;
            if (shownValue > ScoreOf(0)) {
                shownValue = ScoreOf(0);
                counter = 0;
                state = kRankingShown;
            }
        }
        return;
    }
    uint32_t end = kSingleRevealEnd;
    if (mode == Mode::Single) {
        if (counter % 20 == 0 && counter >= 20 && counter <= 80) {
            Reveal(static_cast<int>(counter / 20) - 1);
        }
    } else {
        end = kTeamRevealEnd;
        // Order of the reveals: player 1, player 2, team 0, player 3, player 4, team 1.
        for (int step = 0; step < 6; ++step) {
            if (counter != kTeamRevealFrames[step]) {
                continue;
            }
            if (step == 2 || step == 5) {
                app->PlaySoundEffect(kSoundReveal, 0);
                teamRevealed[step / 3] = true;
            } else {
                Reveal(step < 2 ? step : step - 1);
            }
        }
    }
    if (counter >= end) {
        counter = 0;
        state = winner >= 0 ? kWinner : kDraw;
    }
}

void XResultBoard::GetNextTrophyPlace(int* trophyX, int* trophyY) const {
    int index = winner < 0 ? 0 : winner;
    int step = trophy->GetWidth() / 2;
    if (GetMode() == Mode::Team) {
        int team = index / 2;
        *trophyX = x + 80 + 277 + WinsOf(team * 2) * step;
        *trophyY = y + 77 + kTeamTotalOffsets[team] - 3;
    } else {
        *trophyX = x + 79 + 276 + WinsOf(index) * step;
        *trophyY = y + 77 + 48 * index - 3;
    }
}

void XResultBoard::Draw(Surface* target) {
    if (state == kHidden || !target) {
        return;
    }
    if (composed) {
        // Most frames only move the board or leave it: the pieces are drawn again only when it changes.
        Face face = GetFace();
        if (composedFace != face) {
            composed->ColourFill(nullptr, *composed->GetColourKey());
            DrawBoard(composed.get(), 0, 0);
            composedFace = face;
        }
        Rect place = MakeRect(x, y, static_cast<int64_t>(x) + composed->GetWidth(),
                              static_cast<int64_t>(y) + composed->GetHeight());
        target->Blt(&place, *composed, nullptr, true);
    } else {
        DrawBoard(target, x, y);
    }
    if (GetMode() == Mode::Ranking) {
        DrawRanking(target, x, y);
    }

    if (state == kWinner && winner >= 0) {
        int trophyX = 0;
        int trophyY = 0;
        GetNextTrophyPlace(&trophyX, &trophyY);
        trophy->SetPosition(trophyX, trophyY);
        // It shrinks from three times its size to its own in 25 frames.
        uint32_t scale = counter < 25 ? 100 + (200 - 8 * counter) : 100;
        trophy->DrawScaled(target, scale);
    } else if (state == kDraw) {
        drawSign->SetCentre(320, 224);
        uint32_t scale = 0;
        if (counter < 10) {
            scale = counter * 10;
        } else if (counter < 60) {
            scale = 100;
        } else if (counter < 70) {
            scale = 100 - (counter - 60) * 10;
        }
        if (scale > 0) {
            drawSign->DrawScaledVertical(target, scale);
        }
    }
}

void XResultBoard::DrawTrophies(Surface* target, int firstX, int trophyY, int32_t count) {
    int step = trophy->GetWidth() / 2;
    for (int32_t k = 0; k < count; ++k) {
        trophy->DrawAt(firstX + k * step, trophyY, target);
    }
}

void XResultBoard::DrawBoard(Surface* target, int left, int top) {
    scroll->SetPosition(left, top);
    scroll->Draw(target);
    resultTitle->SetCentre(scroll->GetCentreX(), 0);
    resultTitle->SetY(scroll->GetY() + 51);
    resultTitle->Draw(target);
    // The ranking's number counts up every frame: it is drawn over the board, not into it.
    Mode mode = GetMode();
    if (mode == Mode::Single) {
        DrawSingle(target, left, top);
    } else if (mode == Mode::Team) {
        DrawTeam(target, left, top);
    }
}

void XResultBoard::DrawSingle(Surface* target, int left, int top) {
    int colX = left + 79;
    for (int i = 0; i < 4; ++i) {
        int rowY = top + 77 + 48 * i;
        brushIcons->SetFrame(i);
        brushIcons->DrawAt(colX, rowY - 4, target);
        int labelX = colX + brushIcons->GetWidth() + 8;
        playerLabels->SetFrame(i);
        playerLabels->DrawAt(labelX, rowY, target);
        int numberX = labelX + playerLabels->GetWidth() + 10;
        if (revealed[i]) {
            largeDigits->SetSurface(target);
            largeDigits->DrawNumber(numberX, rowY, ScoreOf(i), 2);
        }
        smallPercent->DrawAt(numberX + 2 * largeDigits->GetCellWidth() + 2, rowY - 1, target);
        DrawTrophies(target, colX + 276, rowY - 3, WinsOf(i));
    }
}

void XResultBoard::DrawTeam(Surface* target, int left, int top) {
    int baseX = left + 80;
    int baseY = top + 77;
    for (int i = 0; i < 4; ++i) {
        int rowY = baseY + kTeamRowOffsets[i];
        playerLabels->SetFrame(i);
        playerLabels->DrawAt(baseX, rowY, target);
        int numberX = baseX + playerLabels->GetWidth() + 6;
        if (revealed[i]) {
            smallDigits->SetSurface(target);
            smallDigits->DrawNumber(numberX, rowY + 9, ScoreOf(i), 2);
        }
        tinyPercent->DrawAt(numberX + 2 * smallDigits->GetCellWidth() + 1, rowY + 9, target);
    }
    int teamX = baseX + playerLabels->GetWidth() + 48;
    for (int team = 0; team < 2; ++team) {
        int teamY = baseY + kTeamTotalOffsets[team];
        teamBracket->DrawAt(teamX, teamY - 7, target);
        if (teamRevealed[team]) {
            int32_t total = ScoreOf(team * 2) + ScoreOf(team * 2 + 1);
            // Two cells only: a total of 100 or more reads 99.
            largeDigits->SetSurface(target);
            largeDigits->DrawNumber(teamX + 22, teamY, total >= 100 ? 99 : total, 2);
        }
        tinyPercent->DrawAt(teamX + 22 + 2 * largeDigits->GetCellWidth() + 2, teamY + 16, target);
        DrawTrophies(target, baseX + 277, teamY - 3, WinsOf(team * 2));
    }
}

void XResultBoard::DrawRanking(Surface* target, int left, int top) {
    int numberX = left + 130;
    int numberY = top + 124;
    if (revealed[0]) {
        hugeDigits->SetSurface(target);
        int cursor = hugeDigits->DrawNumber(numberX, numberY, shownValue / 10, 2);
        decimalPoint->DrawAt(cursor, numberY, target);
        cursor += decimalPoint->GetWidth();
        hugeDigits->DrawNumber(cursor, numberY, shownValue % 10, 1);
    }
    bigPercent->DrawAt(numberX + decimalPoint->GetWidth() + 3 * hugeDigits->GetCellWidth() + 4, top + 133,
                       target);
}

void XResultBoard::SaveState(ZStateStream* out) const {
    out->Put(x, y, shownValue, counter, state, revealed, teamRevealed, winner);
}

void XResultBoard::LoadState(ZStateStream* in) {
    in->Get(x, y, shownValue, counter, state, revealed, teamRevealed, winner);
}
