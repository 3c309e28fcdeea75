#include "scenes/XRanking.h"

#include "base/ZRankList.h"
#include "gfx/Display.h"
#include "shell/XAppData.h"

XRanking::XRanking(XAppData* app)
    : app(app),
      frontEnd(std::make_unique<XFrontEnd>(app)),
      title(std::make_unique<ZSprite256>(245, 1)),
      namePlate(std::make_unique<ZSprite256>(243, 1)),
      percentSign(std::make_unique<ZSprite256>(218, 1)),
      text(std::make_unique<ZAscii>()),
      rankDigits(std::make_unique<ZNumber>(244)),
      scoreDigits(std::make_unique<ZNumber>(104)) {
    app->SelectMusic(1);
    namePlate->SetTransparent(false);
    Surface* back = GetBackSurface();
    text->SetSurface(back);
    text->SetFont(0);
    rankDigits->SetSurface(back);
    rankDigits->SetZeroFill(false);
    scoreDigits->SetSurface(back);
    scoreDigits->SetZeroFill(false);
    title->SetCentre(320, 42);
    entries[kEntryStart] = std::make_unique<ZSprite256>(139, 1);
    entries[kEntryBack] = std::make_unique<ZSprite256>(203, 1);
    for (int i = 0; i < kEntryCount; ++i) {
        entries[i]->SetCentre(320, 416 + 38 * i);
    }
}

XRanking::~XRanking() = default;

void XRanking::UpdateFrame() {
    if (frontEnd->GetPhase() == XFrontEnd::kActive) {
        frontEnd->ChooseEntry(&cursor, kEntryCount, kEntryBack);
    }
    DrawFrame();
    if (frontEnd->Advance()) {
        // The battle-mode flag is still 0, so the round is a ranking round.
        app->sceneState = cursor == kEntryStart ? XAppData::kCreateRound : XAppData::kCreateTitle;
    }
}

void XRanking::DrawTable(Surface* back) {
    const ZRankList* table = app->GetHighScores();
    int y = title->GetY() + title->GetHeight() + kTableGap;
    for (uint32_t i = 0; i < table->GetCount(); ++i) {
        const ZRankItem& entry = table->GetItem(i);
        // Ranks 1 to 9 leave the first of the two cells blank.
        int x = rankDigits->DrawNumber(kRankX, y, static_cast<int32_t>(i + 1), 2) + 10;
        namePlate->DrawAt(x, y, back);
        text->DrawString(x + 8, y + 4, entry.GetName().GetBuffer());

        // Tenths of a per cent: 500 reads 50.0, 45 reads 4.5.
        uint32_t score = entry.GetScore();
        int32_t whole = static_cast<int32_t>(score / 10);
        // A whole part of three digits or more widens the field rather than losing its leading digits.
        int wholeCells = 2;
        for (int32_t rest = whole / 100; rest > 0; rest /= 10) {
            ++wholeCells;
        }
        int sx = namePlate->GetWidth() + x + 10;
        int sy = y + 2;
        sx = scoreDigits->DrawNumber(sx, sy, whole, wholeCells);
        sx = scoreDigits->DrawGlyph11(sx, sy);
        sx = scoreDigits->DrawNumber(sx, sy, static_cast<int32_t>(score % 10), 1);
        percentSign->DrawAt(sx + 2, y + 5, back);
        y += kRowStep;
    }
}

void XRanking::DrawFrame() {
    Surface* back = GetBackSurface();
    if (frontEnd->GetPhase() == XFrontEnd::kFinished) {
        XFrontEnd::DrawFinished(back);
        return;
    }
    frontEnd->DrawBackground(back);
    title->Draw(back);
    DrawTable(back);
    for (auto& entry : entries) {
        entry->Draw(back);
    }
    frontEnd->DrawMarkers(back, *entries[cursor]);
    frontEnd->DrawFade(back);
}
