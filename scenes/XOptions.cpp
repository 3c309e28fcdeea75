#include "scenes/XOptions.h"

#include <algorithm>

#include "audio/Music.h"
#include "audio/ZSoundList.h"
#include "base/Letters.h"
#include "gfx/Display.h"
#include "input/Controllers.h"
#include "input/Input.h"
#include "shell/XAppData.h"
#include "shell/XSettings.h"

namespace {

constexpr uint16_t kHeadingBitmap = 255;
constexpr uint16_t kLabelsBitmap = 256;
constexpr uint16_t kValuesBitmap = 257;
constexpr uint16_t kPlayerLabelsBitmap = 141;
constexpr uint16_t kPlayerIconsBitmap = 145;
constexpr uint16_t kBackBitmap = 203;
constexpr uint16_t kLampsBitmap = 131;
constexpr uint16_t kTextCursorBitmap = 239;
constexpr uint16_t kKeyPlateBitmap = 258;
// Frames of the values sheet.
constexpr int kValueWindow = 0;
constexpr int kValueOriginalColours = 2;

constexpr int kIconX = 110;
constexpr int kLabelX = 170;
constexpr int kValueX = 340;
constexpr int kFirstLineY = 76;
constexpr int kLineStep = 40;
constexpr int kBackY = 400;
constexpr int kHelpY[2] = {440, 459};
// Text sits this far below the top of its line, on a plate for a key's name.
constexpr int kTextDrop = 9;
constexpr int kPlateDrop = 5;
constexpr int kPlateInset = 4;
constexpr int kKeyPlateStep = 140;
constexpr int kLampCount = 10;
constexpr int kLampStep = 17;
constexpr int kVolumeStep = 100 / kLampCount;
constexpr int kRefusalFrames = 50;

struct NamedKey {
    int scanCode;
    const char* name;
};

// Keys whose caps carry no character, or the same character as another key.
constexpr NamedKey kNamedKeys[] = {
    {1, "ESCAPE"},     {14, "BACKSPACE"},   {15, "TAB"},          {28, "RETURN"},     {29, "CTRL"},
    {42, "SHIFT"},     {54, "RIGHT SHIFT"}, {55, "PAD STAR"},     {56, "ALT"},        {57, "SPACE"},
    {58, "CAPS LOCK"}, {69, "NUM LOCK"},    {70, "SCROLL LOCK"},  {78, "PAD PLUS"},   {87, "F11"},
    {88, "F12"},       {156, "PAD ENTER"},  {157, "RIGHT CTRL"},  {181, "PAD SLASH"}, {184, "ALT GR"},
    {197, "PAUSE"},    {199, "HOME"},       {200, "UP"},          {201, "PAGE UP"},   {203, "LEFT"},
    {205, "RIGHT"},    {207, "END"},        {208, "DOWN"},        {209, "PAGE DOWN"}, {210, "INSERT"},
    {211, "DELETE"},   {219, "SUPER"},      {220, "RIGHT SUPER"}, {221, "MENU"}};
constexpr int kFirstFunctionKey = 59;
constexpr int kLastFunctionKey = 68;
constexpr int kFirstPadKey = 71;
constexpr int kLastPadKey = 83;

int LineY(int line) {
    return kFirstLineY + kLineStep * line;
}

bool IsSidePressed(int key, int direction) {
    return IsKeyPressed(key) || IsJoyDirectionEntered(direction) || IsControllerDirectionEntered(direction);
}

// The first key newly down, 0 for none; Escape only ever cancels.
int FirstKeyPressed() {
    for (int code = kKeyEscape + 1; code < 256; ++code) {
        if (IsKeyPressed(code)) {
            return code;
        }
    }
    return 0;
}

// Volumes move in steps of a lamp; a hand-written value between two steps goes to the nearer step that
// way.
int StepVolume(int volume, int step) {
    if (step < 0) {
        return volume % kVolumeStep ? volume - volume % kVolumeStep : std::max(0, volume - kVolumeStep);
    }
    int up = volume - volume % kVolumeStep + kVolumeStep;
    return up <= 100 ? up : step == 0 ? 0 : 100;
}

}  // namespace

XOptions::XOptions(XAppData* app)
    : app(app),
      settings(app->GetSettings()),
      frontEnd(std::make_unique<XFrontEnd>(app)),
      heading(std::make_unique<ZSprite256>(kHeadingBitmap, 1)),
      playerIcons(std::make_unique<ZSprite256>(kPlayerIconsBitmap, kPlayerCount)),
      values(std::make_unique<ZSprite256>(kValuesBitmap, 4)),
      lamps(std::make_unique<ZSprite256>(kLampsBitmap, 2)),
      textCursor(std::make_unique<ZSprite256>(kTextCursorBitmap, 2)),
      keyPlate(std::make_unique<ZSprite256>(kKeyPlateBitmap, 1)),
      text(std::make_unique<ZAscii>()) {
    app->SelectMusic(1);
    heading->SetCentre(320, 36);
    for (int line = 0; line < kLineBack; ++line) {
        bool player = line >= kLineFirstPlayer;
        lines[line] = std::make_unique<ZSprite256>(player ? kPlayerLabelsBitmap : kLabelsBitmap, 4);
        lines[line]->SetFrame(player ? line - kLineFirstPlayer : line);
        lines[line]->SetPosition(kLabelX, LineY(line));
    }
    lines[kLineBack] = std::make_unique<ZSprite256>(kBackBitmap, 1);
    lines[kLineBack]->SetPosition(320 - lines[kLineBack]->GetWidth() / 2, kBackY);
    textCursor->SetAnimationWait(8);
    keyPlate->SetTransparent(false);
}

XOptions::~XOptions() {
    app->hotKeysEnabled = true;
}

void XOptions::UpdateFrame() {
    if (frontEnd->GetPhase() == XFrontEnd::kActive) {
        RunActive();
    }
    DrawFrame();
    if (frontEnd->Advance()) {
        RunExitAction();
    }
}

void XOptions::RunActive() {
    frontEnd->AnimateMarkers();
    textCursor->Animate();
    refusalFrames = std::max(0, refusalFrames - 1);
    XFrontEnd::Keys keys = XFrontEnd::ReadKeys();
    if (keyPlayer >= 0) {
        TakeKey(keys);
        return;
    }
    frontEnd->StepCursor(keys, &cursor, kLineCount);
    bool player = cursor >= kLineFirstPlayer && cursor < kLineBack;
    if (keys.confirm && cursor == kLineBack) {
        frontEnd->Decide();
        frontEnd->BeginFadeOut();
    } else if (keys.confirm && player) {
        frontEnd->Decide();
        AskKeys(cursor - kLineFirstPlayer);
    } else if (keys.confirm) {
        Change(0);
    } else if (keys.cancel) {
        frontEnd->Decide();
        cursor = kLineBack;
        frontEnd->BeginFadeOut();
    } else if (cursor < kLineFirstPlayer && IsSidePressed(kKeyLeft, kJoyLeft)) {
        Change(-1);
    } else if (cursor < kLineFirstPlayer && IsSidePressed(kKeyRight, kJoyRight)) {
        Change(1);
    }
}

void XOptions::Change(int step) {
    int32_t sound = XFrontEnd::kSoundDecide;
    switch (cursor) {
        case kLineMusic:
            settings->musicVolume = StepVolume(settings->musicVolume, step);
            SetMusicVolume(settings->musicVolume);
            break;
        case kLineEffects:
            settings->effectsVolume = StepVolume(settings->effectsVolume, step);
            if (ZSoundList* sounds = app->GetSoundList()) {
                sounds->SetVolume(settings->effectsVolume);
            }
            sound = kSoundSample;
            break;
        case kLineScreen:
            SetDisplayFullScreen(!IsDisplayFullScreen());
            settings->window.fullScreen = IsDisplayFullScreen();
            break;
        default:
            settings->playerColours = settings->playerColours == XSettings::kColoursOriginal
                                          ? XSettings::kColoursTellApart
                                          : XSettings::kColoursOriginal;
            InitPalette(settings->PaletteBitmap());
            break;
    }
    app->PlaySoundEffect(sound, 0);
    changed = true;
}

void XOptions::TakeKey(const XFrontEnd::Keys& keys) {
    if (keys.cancel) {
        frontEnd->Decide();
        AskKeys(-1);
        return;
    }
    int key = FirstKeyPressed();
    if (key == 0) {
        return;
    }
    int owner = settings->KeyOwner(key, keyPlayer);
    if (key == kKeyP) {
        Refuse(KeyName(kKeyP) + " PAUSES THE GAME");
    } else if (owner >= 0) {
        Refuse("PLAYER " + std::to_string(owner + 1) + " TURNS WITH " + KeyName(key));
    } else if (keySide == 1 && key == newKeys[0]) {
        Refuse("ONE KEY CANNOT TURN BOTH WAYS");
    } else if (keySide == 0) {
        newKeys[0] = key;
        keySide = 1;
        refusalFrames = 0;
        app->PlaySoundEffect(XFrontEnd::kSoundMove, 0);
    } else {
        settings->steeringKeys[keyPlayer][0] = newKeys[0];
        settings->steeringKeys[keyPlayer][1] = key;
        AskKeys(-1);
        changed = true;
        frontEnd->Decide();
    }
}

void XOptions::AskKeys(int player) {
    keyPlayer = player;
    keySide = 0;
    refusalFrames = 0;
    // The pause key is a key like any other while one is asked for.
    app->hotKeysEnabled = player < 0;
}

void XOptions::Refuse(std::string why) {
    refusal = std::move(why);
    refusalFrames = kRefusalFrames;
    app->PlaySoundEffect(kSoundRefused, 0);
}

void XOptions::RunExitAction() {
    // Only the copy that keeps the high scores writes the settings beside them.
    if (changed && app->ownsHighScores) {
        settings->Save();
    }
    app->sceneState = XAppData::kCreateTitle;
}

std::string XOptions::GetHelp(int row) const {
    if (keyPlayer >= 0) {
        if (row == 0 && refusalFrames > 0) {
            return refusal;
        }
        return row == 0 ? std::string("PRESS THE KEY TO TURN ") + (keySide == 0 ? "LEFT" : "RIGHT")
                        : "ESCAPE KEEPS THE OLD KEYS";
    }
    if (row != 0 || cursor == kLineBack) {
        return "";
    }
    return cursor >= kLineFirstPlayer ? "RETURN TO PRESS NEW KEYS" : "LEFT OR RIGHT TO CHANGE";
}

std::string XOptions::KeyName(int scanCode) {
    for (const NamedKey& named : kNamedKeys) {
        if (named.scanCode == scanCode) {
            return named.name;
        }
    }
    if (scanCode >= kFirstFunctionKey && scanCode <= kLastFunctionKey) {
        return "F" + std::to_string(scanCode - kFirstFunctionKey + 1);
    }
    if (scanCode >= kFirstPadKey && scanCode <= kLastPadKey) {
        return std::string("PAD ") + ScanCodeToChar(scanCode);
    }
    uint32_t label = XFrontEnd::KeyCharacter(scanCode);
    return label != 0 ? Utf8(label) : "KEY " + std::to_string(scanCode);
}

void XOptions::DrawValue(Surface* back, int line) {
    int y = LineY(line);
    if (line == kLineMusic || line == kLineEffects) {
        int volume = line == kLineMusic ? settings->musicVolume : settings->effectsVolume;
        for (int i = 0; i < kLampCount; ++i) {
            lamps->SetFrame(i < volume / kVolumeStep ? 0 : 1);
            lamps->DrawAt(kValueX + kLampStep * i, y + kTextDrop + 1, back);
        }
        std::string number = std::to_string(volume);
        text->DrawString(kValueX + kLampStep * kLampCount + 8 + 11 * (3 - static_cast<int>(number.size())),
                         y + kTextDrop, number.c_str());
    } else if (line == kLineScreen || line == kLineColours) {
        int frame = line == kLineScreen ? kValueWindow + IsDisplayFullScreen()
                                        : kValueOriginalColours + settings->playerColours;
        values->SetFrame(frame);
        values->DrawAt(kValueX, y, back);
    } else if (line < kLineBack) {
        int player = line - kLineFirstPlayer;
        playerIcons->SetFrame(player);
        playerIcons->DrawAt(kIconX, y - 4, back);
        text->SetFont(0);
        for (int side = 0; side < 2; ++side) {
            int x = kValueX + kKeyPlateStep * side;
            keyPlate->DrawAt(x, y + kPlateDrop, back);
            bool asked = player == keyPlayer && side == keySide;
            if (asked) {
                textCursor->DrawAt(x + kPlateInset, y + kTextDrop, back);
            } else {
                bool answered = player == keyPlayer && side < keySide;
                int key = answered ? newKeys[side] : settings->steeringKeys[player][side];
                text->DrawLabels(x + kPlateInset, y + kTextDrop, KeyName(key));
            }
        }
        text->SetFont(1);
    }
}

void XOptions::DrawFrame() {
    Surface* back = GetBackSurface();
    if (frontEnd->GetPhase() == XFrontEnd::kFinished) {
        XFrontEnd::DrawFinished(back);
        return;
    }
    frontEnd->DrawBackground(back);
    heading->Draw(back);
    text->SetSurface(back);
    text->SetFont(1);
    for (int line = 0; line < kLineCount; ++line) {
        lines[line]->Draw(back);
        DrawValue(back, line);
    }
    frontEnd->DrawMarkers(back, *lines[cursor]);
    for (int row = 0; row < 2; ++row) {
        std::string help = GetHelp(row);
        text->DrawLabels(320 - 11 * ZAscii::CountCells(help) / 2, kHelpY[row], help);
    }
    frontEnd->DrawFade(back);
}
