#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "round/XFrameInput.h"
#include "shell/XMatchLink.h"

class XMenuData;
class XReplay;

// The one place a battle match's rounds take each frame's input of every seat from: what the keys and
// controllers give, or what a replay recorded. It also records the next match to a file when asked to.
class XMatchInput {
public:
    enum class ReplayEnd { NotYet, Same, Different, Left };

    XMatchInput();
    virtual ~XMatchInput();

    // The next match plays the replay, with its settings put into the menu's. Empty, or why not.
    std::string LoadReplay(const std::string& path, XMenuData* settings);
    // The next battle match is written to the file. Empty, or why it could not be.
    std::string RecordNextMatch(const std::string& path);
    bool IsReplaying() const { return replay != nullptr; }
    // Once the replayed match is over: whether it played as recorded, or its viewer left it.
    ReplayEnd GetReplayEnd() const { return replayEnd; }

    // Battle matches are played online with other computers through the link.
    void SetLink(std::unique_ptr<XMatchLink> newLink) { link = std::move(newLink); }
    XMatchLink* GetLink() const { return link.get(); }
    bool IsJoining() const { return link && !link->GetLobby().host; }
    // Whether the round may run its next frame: online, once every computer's input for it is here, or on a
    // guess; while the round holds out for the others, once every frame it ran is known.
    bool IsFrameReady() const { return !link || !inMatch || link->IsFrameReady(holdForOthers); }
    // The round has come to what cannot be undone, the match's end, and waits for every frame to be known.
    void HoldForOthers(bool hold) { holdForOthers = hold; }
    bool IsOnline() const { return link && inMatch && !replay; }
    // Frames of this match taken so far.
    uint32_t GetFrame() const { return frame; }
    // Online, the round's state is compared with the other computers' before some frames.
    bool WantsStateCheck(uint32_t at) const { return IsOnline() && link->WantsStateCheck(at); }
    void CheckState(uint32_t at, uint64_t sum) { link->CheckState(at, sum); }
    // Online: the first frame that ran on a wrong guess, 0 if none; each frame from it is run again with
    // Rerun's input, which a recording keeps.
    uint32_t TakeCorrection() { return IsOnline() ? link->TakeCorrection() : 0; }
    XFrameInput Rerun(uint32_t at);
    bool IsConfirmed(uint32_t at) const { return !IsOnline() || link->IsConfirmed(at); }
    // Online, frames here that the round has not run yet.
    uint32_t GetFramesHeld() const { return link && inMatch ? link->GetStatus().framesHeld : 0; }
    // Why an online match stopped early on this computer, or empty.
    std::string GetStopReason() const { return link && inMatch ? link->GetStopReason() : std::string(); }

    // The round's side. At a battle match's start: a replay seeds the random numbers as they were, a
    // recording notes the seed.
    void BeginMatch(const XMenuData& settings);
    // A ranking round starts: a recording asked for waits for the next battle match, and says so once.
    void BeginRankingRound();
    // Every frame of the match: the seats' input from the keys and controllers in, the frame's input out.
    XFrameInput Next(const XFrameInput& local);
    // At the match's end, with its checksum: a recording is written, a replay judged unless it was left.
    void EndMatch(uint64_t checksum, bool left);

    // Names the program in the lines written to standard error.
    const char* programName = "tintorix";

private:
    std::string recordPath;
    bool rankingNoted = false;
    std::string replayPath;
    std::unique_ptr<XReplay> replay;
    std::unique_ptr<XReplay> recording;
    std::unique_ptr<XMatchLink> link;
    bool inMatch = false;
    bool holdForOthers = false;
    uint32_t frame = 0;
    size_t replayFrame = 0;
    ReplayEnd replayEnd = ReplayEnd::NotYet;
};
