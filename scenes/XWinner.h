#pragma once

#include <cstdint>
#include <memory>

#include "gfx/ZSprite256.h"
#include "scenes/XFrontEnd.h"

class XAppData;

// The end of a battle match: the winner's victory animation and picture (both team members' in team
// battle), the WINNER! banner and a PLAYER n or PLAYER n & m line, with a jingle, a voice and a closing sound.
class XWinner {
public:
    static constexpr uint32_t kJingleFrame = 10;
    static constexpr uint32_t kVoiceFrame = 45;
    static constexpr uint32_t kClosingFrame = 80;
    // After a replay the scene fades out by itself on this active frame, three seconds in.
    static constexpr uint32_t kReplayHoldFrames = 75;

    explicit XWinner(XAppData* app);
    XWinner(const XWinner&) = delete;
    XWinner& operator=(const XWinner&) = delete;
    virtual ~XWinner();

    void UpdateFrame();

    const XFrontEnd& GetFrame() const { return *frontEnd; }
    // The player whose outcome is shown (in team battle the first of the team).
    int32_t GetWinner() const { return winner; }
    int32_t GetVoice() const { return voice; }
    const ZSprite256& GetPlayerLabel() const { return *playerLabel; }

private:
    void DrawFrame();

    XAppData* app;
    std::unique_ptr<XFrontEnd> frontEnd;
    std::unique_ptr<ZSprite256> banner;
    std::unique_ptr<ZSprite256> playerLabel;
    std::unique_ptr<ZSprite256> playerDigits;
    std::unique_ptr<ZSprite256> ampersand;
    std::unique_ptr<ZSprite256> animation;
    std::unique_ptr<ZSprite256> firstPicture;
    std::unique_ptr<ZSprite256> secondPicture;
    int32_t voice = 0;
    int32_t winner = 0;
    bool singleBattle = true;
};
