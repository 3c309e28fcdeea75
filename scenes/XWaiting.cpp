#include "scenes/XWaiting.h"

#include "gfx/Display.h"
#include "shell/XAppData.h"
#include "shell/XMatchInput.h"
#include "shell/XMenuData.h"

namespace {

constexpr int kFirstLineY = 270;
constexpr int kLineStep = 30;
constexpr int kGlyphWidth = 11;

std::string Seats(uint8_t mask) {
    std::string seats;
    for (int i = 0; i < 4; ++i) {
        if (mask >> i & 1) {
            seats += " " + std::to_string(i + 1);
        }
    }
    return seats;
}

}  // namespace

XWaiting::XWaiting(XAppData* app)
    : app(app), frontEnd(std::make_unique<XFrontEnd>(app)), text(std::make_unique<ZAscii>()) {
    app->SelectMusic(1);
    text->SetFont(0);
}

XWaiting::~XWaiting() = default;

std::vector<std::string> XWaiting::GetLines() const {
    XMatchLink* link = app->GetMatchInput()->GetLink();
    if (!link) {
        return {};
    }
    XMatchLink::Lobby lobby = link->GetLobby();
    if (!lobby.closedReason.empty()) {
        return {lobby.closedReason, "", "PRESS RETURN"};
    }
    if (!lobby.connected) {
        return {"CONNECTING TO THE HOST", "", "ESCAPE LEAVES"};
    }
    if (lobby.matchOn) {
        return {"A MATCH IS ON", "YOU WATCH IT WITHOUT A SEAT", "ESCAPE LEAVES"};
    }
    std::string seat =
        lobby.seat >= 0 ? "YOU ARE PLAYER " + std::to_string(lobby.seat + 1) : "NO SEAT FOR YOU YET";
    std::string joined = lobby.joinedSeats ? "JOINED" + Seats(lobby.joinedSeats) : "";
    std::vector<std::string> lines = {seat, joined, "WAITING FOR THE HOST TO START", "ESCAPE LEAVES"};
    std::string stopped = link->GetStopReason();
    if (!stopped.empty()) {
        lines.insert(lines.begin(), {"THE LAST MATCH STOPPED", stopped, ""});
    }
    return lines;
}

void XWaiting::UpdateFrame() {
    XMatchInput* matchInput = app->GetMatchInput();
    XMatchLink* link = matchInput->GetLink();
    if (frontEnd->GetPhase() == XFrontEnd::kActive && link) {
        XFrontEnd::Keys keys = XFrontEnd::ReadKeys();
        bool closed = !link->GetLobby().closedReason.empty();
        if (!closed && link->TakeStart(app->GetMenuSettings())) {
            // The host runs already: no fade, so that nobody waits for this computer.
            app->GetMenuSettings()->SetBattleMode(1);
            app->sceneState = XAppData::kCreateRound;
            return;
        }
        if (keys.cancel || (closed && keys.confirm)) {
            frontEnd->Decide();
            frontEnd->BeginFadeOut();
        }
    }
    Surface* back = GetBackSurface();
    if (frontEnd->GetPhase() == XFrontEnd::kFinished) {
        XFrontEnd::DrawFinished(back);
    } else {
        frontEnd->DrawBackground(back);
        text->SetSurface(back);
        int y = kFirstLineY;
        for (const std::string& line : GetLines()) {
            text->DrawString(320 - kGlyphWidth * static_cast<int>(line.size()) / 2, y, line.c_str());
            y += kLineStep;
        }
        frontEnd->DrawFade(back);
    }
    if (frontEnd->Advance()) {
        // Leaving for good: from here on this computer plays on its own.
        if (link) {
            link->Leave();
        }
        matchInput->SetLink(nullptr);
        app->sceneState = XAppData::kCreateTitle;
    }
}
