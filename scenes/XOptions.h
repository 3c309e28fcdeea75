#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "gfx/ZAscii.h"
#include "gfx/ZSprite256.h"
#include "scenes/XFrontEnd.h"

class XAppData;
class XSettings;

// The options, reached from the title: music and effects volume, full screen or a window, the player
// colours and each player's two steering keys. A change is heard or seen at once; leaving writes the
// settings file.
class XOptions {
public:
    static constexpr int32_t kLineMusic = 0;
    static constexpr int32_t kLineEffects = 1;
    static constexpr int32_t kLineScreen = 2;
    static constexpr int32_t kLineColours = 3;
    static constexpr int32_t kLineFirstPlayer = 4;
    static constexpr int32_t kLineBack = 8;
    static constexpr int32_t kLineCount = 9;
    static constexpr int kPlayerCount = 4;
    // Played at the new effects volume when it changes.
    static constexpr int32_t kSoundSample = 185;
    // A key that cannot be taken.
    static constexpr int32_t kSoundRefused = 178;

    explicit XOptions(XAppData* app);
    XOptions(const XOptions&) = delete;
    XOptions& operator=(const XOptions&) = delete;
    virtual ~XOptions();

    void UpdateFrame();

    int32_t GetCursor() const { return cursor; }
    const XFrontEnd& GetFrame() const { return *frontEnd; }
    const ZSprite256& GetLine(int line) const { return *lines[line]; }
    // The player whose keys are being asked for, -1 when none, and which of the two (0 left, 1 right).
    int GetKeyPlayer() const { return keyPlayer; }
    int GetKeySide() const { return keySide; }
    // The two lines of help at the bottom of the screen.
    std::string GetHelp(int row) const;
    // What a key is called on the screen, in UTF-8: its label on the keyboard where the fonts have it, else
    // a name.
    static std::string KeyName(int scanCode);

private:
    void RunActive();
    // The value under the cursor one step down (-1) or up (1), or on to the next with wrap-around (0).
    void Change(int step);
    // Asks for a player's two keys, left first; -1 asks for none.
    void AskKeys(int player);
    void TakeKey(const XFrontEnd::Keys& keys);
    void Refuse(std::string why);
    void DrawFrame();
    void DrawValue(Surface* back, int line);
    void RunExitAction();

    XAppData* app;
    XSettings* settings;
    std::unique_ptr<XFrontEnd> frontEnd;
    std::unique_ptr<ZSprite256> heading;
    std::unique_ptr<ZSprite256> lines[kLineCount];
    std::unique_ptr<ZSprite256> playerIcons;
    std::unique_ptr<ZSprite256> values;
    std::unique_ptr<ZSprite256> lamps;
    std::unique_ptr<ZSprite256> textCursor;
    std::unique_ptr<ZSprite256> keyPlate;
    std::unique_ptr<ZAscii> text;
    int32_t cursor = kLineMusic;
    int keyPlayer = -1;
    int keySide = 0;
    int newKeys[2] = {};
    // Why the last key was refused, shown for a while.
    std::string refusal;
    int refusalFrames = 0;
    bool changed = false;
};
