#include "scenes/XMenu.h"

#include <string>

#include "gfx/Display.h"
#include "input/Input.h"
#include "shell/XAppData.h"
#include "shell/XMatchInput.h"
#include "shell/XMenuData.h"
#include "shell/XSettings.h"

namespace {

constexpr int kLeftColumn = 121;
constexpr int kPortraitX[XMenu::kPlayerCount] = {41, 187, 333, 479};
constexpr int kPortraitY = 13;
// Team battle opens a gap between players 2 and 3.
constexpr int kTeamGap = 20;
constexpr int kLabelGap = 28;
constexpr int kWinsRowY = 146;
constexpr int kBattleTypeRowY = 188;
constexpr int kFirstPlayerRowY = 230;
constexpr int kPlayerRowStep = 42;
constexpr int32_t kControlNone = 2;
// The badge frame with the cursor keys drawn into the art, and one with blank caps.
constexpr int kArrowsBadge = 0;
constexpr int kBlankBadge = 1;
// Where the badge's two caps take a name.
constexpr int kCapNameX[2] = {11, 39};
constexpr int kCapNameY = 7;

}  // namespace

XMenu::XMenu(XAppData* app)
    : app(app),
      frontEnd(std::make_unique<XFrontEnd>(app)),
      versusSign(std::make_unique<ZSprite256>(216, 1)),
      winsLabel(std::make_unique<ZSprite256>(140, 1)),
      battleTypeLabel(std::make_unique<ZSprite256>(232, 1)),
      playerLabels(std::make_unique<ZSprite256>(141, 4)),
      playerIcons(std::make_unique<ZSprite256>(145, 4)),
      portraits(std::make_unique<ZSprite256>(211, 4)),
      humanBadge(std::make_unique<ZSprite256>(210, 4)),
      nonHumanBadge(std::make_unique<ZSprite256>(213, 4)),
      cross(std::make_unique<ZSprite256>(212, 1)),
      settings(app->GetMenuSettings()) {
    items[kItemWins] = std::make_unique<ZSprite256>(143, 12);
    items[kItemBattleType] = std::make_unique<ZSprite256>(231, 2);
    for (int i = 0; i < kPlayerCount; ++i) {
        items[kItemFirstPlayer + i] = std::make_unique<ZSprite256>(144, 3);
    }
    items[kItemStart] = std::make_unique<ZSprite256>(139, 1);
    items[kItemBack] = std::make_unique<ZSprite256>(203, 1);
    app->SelectMusic(1);
    portraits->SetTransparent(false);
    keyNames->SetFont(1);
    for (int i = 0; i < kPlayerCount; ++i) {
        const int* keys = app->GetSettings()->steeringKeys[i];
        bool arrows = keys[0] == kKeyLeft && keys[1] == kKeyRight;
        badgeFrames[i] = arrows ? kArrowsBadge : i == kArrowsBadge ? kBlankBadge : i;
        for (int k = 0; k < 2 && !arrows; ++k) {
            keyLabels[i][k] = XFrontEnd::KeyCharacter(keys[k]);
        }
    }
}

XMenu::~XMenu() = default;

void XMenu::UpdateFrame() {
    if (frontEnd->GetPhase() == XFrontEnd::kActive) {
        frontEnd->AnimateMarkers();
        XFrontEnd::Keys keys = XFrontEnd::ReadKeys();
        frontEnd->StepCursor(keys, &cursor, kItemCount);
        if (keys.confirm) {
            frontEnd->Decide();
            if (cursor == kItemWins) {
                settings->CycleWinsNeeded();
            } else if (cursor == kItemBattleType) {
                settings->ToggleBattleType();
            } else if (cursor < kItemStart) {
                settings->CycleControlType(cursor - kItemFirstPlayer);
            } else {
                frontEnd->BeginFadeOut();
            }
        } else if (keys.cancel) {
            frontEnd->Decide();
            cursor = kItemBack;
            frontEnd->BeginFadeOut();
        }
    }
    DrawFrame();
    if (frontEnd->Advance()) {
        RunExitAction();
    }
}

void XMenu::RunExitAction() {
    if (cursor != kItemStart) {
        app->sceneState = XAppData::kCreateTitle;
        return;
    }
    int players = 0;
    for (int i = 0; i < kPlayerCount; ++i) {
        players += settings->GetControlType(i) != kControlNone;
    }
    // With every seat empty there is no round to play: the menu comes back instead.
    app->sceneState = players > 0 ? XAppData::kCreateRound : XAppData::kCreateMenu;
}

void XMenu::DrawPlayers(Surface* back) {
    bool team = settings->IsSingleBattle() == 0;
    for (int i = 0; i < kPlayerCount; ++i) {
        int x = kPortraitX[i];
        if (team && i == 1) {
            x -= kTeamGap;
        } else if (team && i == 2) {
            x += kTeamGap;
        }
        portraits->SetFrame(i);
        portraits->SetPosition(x, kPortraitY);
        portraits->Draw(back);
        int32_t control = settings->GetControlType(i);
        ZSprite256* badge = control == 0 ? humanBadge.get() : nonHumanBadge.get();
        badge->SetFrame(badgeFrames[i]);
        badge->SetPosition(x + portraits->GetWidth() - badge->GetWidth() - 2, kPortraitY + 2);
        badge->Draw(back);
        keyNames->SetSurface(back);
        for (int k = 0; k < 2; ++k) {
            keyNames->DrawKeyLabel(badge->GetX() + kCapNameX[k], badge->GetY() + kCapNameY, keyLabels[i][k]);
        }
        if (control == kControlNone) {
            cross->SetCentre(portraits->GetCentreX(), portraits->GetCentreY());
            cross->Draw(back);
        }
    }
    if (team) {
        versusSign->SetCentre(320, 73);
        versusSign->Draw(back);
    }
}

void XMenu::DrawSettings(Surface* back) {
    ZSprite256* wins = items[kItemWins].get();
    wins->SetFrame(settings->GetWinsNeeded());
    wins->SetPosition(kLeftColumn + 81, kWinsRowY);
    wins->Draw(back);
    winsLabel->SetPosition(wins->GetX() + wins->GetWidth() + kLabelGap, kWinsRowY);
    winsLabel->Draw(back);

    battleTypeLabel->SetPosition(kLeftColumn + 34, kBattleTypeRowY);
    battleTypeLabel->Draw(back);
    ZSprite256* battleType = items[kItemBattleType].get();
    battleType->SetFrame(settings->IsSingleBattle() == 1 ? 0 : 1);
    battleType->SetPosition(battleTypeLabel->GetX() + battleTypeLabel->GetWidth() + kLabelGap, kBattleTypeRowY);
    battleType->Draw(back);

    for (int i = 0; i < kPlayerCount; ++i) {
        int y = kFirstPlayerRowY + kPlayerRowStep * i;
        playerIcons->SetFrame(i);
        playerIcons->SetPosition(kLeftColumn, y - 4);
        playerIcons->Draw(back);
        playerLabels->SetFrame(i);
        playerLabels->SetPosition(playerIcons->GetX() + playerIcons->GetWidth() + 20, y);
        playerLabels->Draw(back);
        int32_t control = settings->GetControlType(i);
        ZSprite256* item = items[kItemFirstPlayer + i].get();
        item->SetFrame(control == 0 ? 0 : control == 1 ? 1 : 2);
        item->SetPosition(playerLabels->GetX() + playerLabels->GetWidth() + kLabelGap, y);
        item->Draw(back);
    }

    DrawRemoteSeats(back);
    items[kItemStart]->SetPosition(kLeftColumn + 158, 402);
    items[kItemStart]->Draw(back);
    items[kItemBack]->SetPosition(kLeftColumn + 163, 440);
    items[kItemBack]->Draw(back);
}

void XMenu::DrawRemoteSeats(Surface* back) {
    XMatchLink* link = app->GetMatchInput()->GetLink();
    if (!link) {
        return;
    }
    XMatchLink::Lobby lobby = link->GetLobby();
    keyNames->SetSurface(back);
    for (int i = 0; i < kPlayerCount; ++i) {
        if (lobby.remoteSeats >> i & 1) {
            const ZSprite256& item = *items[kItemFirstPlayer + i];
            keyNames->DrawString(item.GetX() + item.GetWidth() + 4, item.GetY() + 9,
                                 lobby.joinedSeats >> i & 1 ? "JOINED" : "OPEN");
        }
    }
    std::string port = "HOST PORT " + std::to_string(lobby.port);
    keyNames->DrawString(8, 422, port.c_str());
    if (lobby.outOfStepFrame != 0) {
        std::string frame = "OUT OF STEP AT FRAME " + std::to_string(lobby.outOfStepFrame);
        keyNames->DrawString(8, 440, "THE MATCH STOPPED");
        keyNames->DrawString(8, 458, frame.c_str());
    }
}

void XMenu::DrawFrame() {
    Surface* back = GetBackSurface();
    if (frontEnd->GetPhase() == XFrontEnd::kFinished) {
        XFrontEnd::DrawFinished(back);
        return;
    }
    frontEnd->DrawBackground(back);
    DrawPlayers(back);
    DrawSettings(back);
    frontEnd->DrawMarkers(back, *items[cursor]);
    frontEnd->DrawFade(back);
}
