#include "scenes/XWinner.h"

#include "gfx/Display.h"
#include "shell/XAppData.h"
#include "shell/XMatchInput.h"
#include "shell/XMenuData.h"

namespace {

constexpr int32_t kSoundJingle = 198;
constexpr int32_t kSoundClosing = 177;
constexpr int kLabelCentreY = 432;

struct Outcome {
    int32_t voice;
    uint16_t animation;
    uint16_t firstPicture;
    int firstX;
    int firstY;
    uint16_t secondPicture;  // 0: none
    int secondX;
    int secondY;
};

constexpr Outcome kSingleOutcomes[4] = {
    {197, 186, 190, 280, 241, 0, 0, 0},
    {195, 187, 191, 360, 241, 0, 0, 0},
    {196, 188, 192, 340, 240, 0, 0, 0},
    {194, 189, 193, 340, 240, 0, 0, 0},
};
constexpr Outcome kTeamOutcomes[2] = {
    {223, 186, 191, 210, 241, 190, 420, 241},
    {224, 188, 192, 420, 240, 193, 230, 240},
};

}  // namespace

XWinner::XWinner(XAppData* app)
    : app(app),
      frontEnd(std::make_unique<XFrontEnd>(app)),
      banner(std::make_unique<ZSprite256>(148, 1)),
      playerLabel(std::make_unique<ZSprite256>(150, 1)),
      playerDigits(std::make_unique<ZSprite256>(146, 4)),
      ampersand(std::make_unique<ZSprite256>(225, 1)) {
    app->StopMusic();
    app->SelectMusic(3);
    banner->SetCentre(320, 45);

    singleBattle = app->GetMenuSettings()->IsSingleBattle() != 0;
    // The round reports 0 to 3, and in team battle the first of the team; anything else would index
    // past the tables, so it falls back to player 1 (or that player's team).
    winner = app->matchWinner;
    if (winner < 0 || winner > 3) {
        winner = 0;
    }
    if (!singleBattle) {
        winner = winner < 2 ? 0 : 2;
    }
    const Outcome& outcome = singleBattle ? kSingleOutcomes[winner] : kTeamOutcomes[winner / 2];
    voice = outcome.voice;
    animation = std::make_unique<ZSprite256>(outcome.animation, 4);
    firstPicture = std::make_unique<ZSprite256>(outcome.firstPicture, 1);
    firstPicture->SetCentre(outcome.firstX, outcome.firstY);
    if (outcome.secondPicture != 0) {
        secondPicture = std::make_unique<ZSprite256>(outcome.secondPicture, 1);
        secondPicture->SetCentre(outcome.secondX, outcome.secondY);
    }

    // The whole line, label and digits, is centred on x = 320.
    int lineTail = singleBattle ? playerDigits->GetWidth() : ampersand->GetWidth() + 2 * playerDigits->GetWidth();
    playerLabel->SetCentre(320 - lineTail / 2, kLabelCentreY);

    animation->SetTransparent(false);
    animation->SetAnimationWait(2);
    animation->SetCentre(320, 240);
}

XWinner::~XWinner() = default;

void XWinner::UpdateFrame() {
    DrawFrame();
    frontEnd->CountFrame();
    animation->Animate();
    if (frontEnd->GetPhase() == XFrontEnd::kActive) {
        XFrontEnd::Keys keys = XFrontEnd::ReadKeys();
        if (keys.confirm || keys.cancel) {
            app->PlaySoundEffect(XFrontEnd::kSoundDecide, 0);
            frontEnd->BeginFadeOut();
        } else if (frontEnd->GetPhaseCounter() == kReplayHoldFrames &&
                   app->GetMatchInput()->GetReplayEnd() != XMatchInput::ReplayEnd::NotYet) {
            // Nobody need be watching a replay: it ends on its own after the voice.
            frontEnd->BeginFadeOut();
        }
        switch (frontEnd->GetPhaseCounter()) {
            case kJingleFrame: app->PlaySoundEffect(kSoundJingle, 0); break;
            case kVoiceFrame: app->PlaySoundEffect(voice, 0); break;
            case kClosingFrame: app->PlaySoundEffect(kSoundClosing, 0); break;
            default: break;
        }
    } else if (frontEnd->EndPhase()) {
        app->StopMusic();
        // Also silences a voice still playing.
        app->StopSoundEffect(0);
        app->sceneState = XAppData::kCreateMenu;
    }
}

void XWinner::DrawFrame() {
    Surface* back = GetBackSurface();
    if (frontEnd->GetPhase() == XFrontEnd::kFinished) {
        XFrontEnd::DrawFinished(back);
        return;
    }
    frontEnd->DrawBackground(back);
    animation->Draw(back);
    if (secondPicture) {
        secondPicture->Draw(back);
    }
    firstPicture->Draw(back);
    banner->Draw(back);
    playerLabel->Draw(back);

    int digitX = playerLabel->GetX() + playerLabel->GetWidth();
    int digitY = playerLabel->GetY() - 3;
    playerDigits->SetFrame(winner);
    playerDigits->DrawAt(digitX, digitY, back);
    if (!singleBattle) {
        int ampersandX = digitX + playerDigits->GetWidth();
        ampersand->DrawAt(ampersandX, playerLabel->GetY() + 1, back);
        playerDigits->SetFrame(winner + 1);
        playerDigits->DrawAt(ampersandX + ampersand->GetWidth(), digitY, back);
    }
    frontEnd->DrawFade(back);
}
