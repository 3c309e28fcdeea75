#pragma once

#include <array>
#include <cstdint>
#include <memory>

#include "base/ZChecksum.h"
#include "round/XFrameInput.h"

class XAppData;
class XCanvasPlane;
class XEffectManager;
class XInputText;
class XItemChara;
class XPlayerChara;
class XResultBoard;
class XRollback;
class XTimerPlane;
class ZAscii;
class ZSprite256;
class ZStateStream;
class XMatchInput;

// The scene that plays the rounds of a match (or the one round of a ranking attempt) through a phase
// machine, and draws the whole screen every frame.
class XGame {
public:
    static constexpr uint32_t kFinished = 0;
    static constexpr uint32_t kFadeIn = 1;
    static constexpr uint32_t kFadeOut = 2;
    static constexpr uint32_t kCountDown = 3;
    static constexpr uint32_t kTimeUp = 4;
    static constexpr uint32_t kResult = 5;
    static constexpr uint32_t kPlay = 6;
    static constexpr uint32_t kItemTaken = 7;
    static constexpr uint32_t kNameEntry = 8;

    // A new item keeps this far from the centre of every painter that takes part.
    static constexpr double kItemClearance = 140.0;
    // Placement gives up after this many tries and keeps the last place.
    static constexpr int kMaxPlacementTries = 10000;

    explicit XGame(XAppData* app);
    XGame(const XGame&) = delete;
    XGame& operator=(const XGame&) = delete;
    virtual ~XGame();

    // One frame: online, after running again the frames that ran on a wrong guess.
    void UpdateFrame();
    void StartRound();
    void SpawnItem();
    void CountArea();
    bool IsMatchWon();
    void DrawScene();
    void DrawSorted();
    // A finished round's share of a match's checksum: the scores, the field and the round's winner.
    void AddRoundTo(ZChecksum* checksum) const;
    // The field and the painters as they stand, for computers playing one match online to compare.
    void AddStateTo(ZChecksum* checksum) const;
    // The whole round as it stands, with the random numbers: a snapshot, and going back to one.
    void SaveState(ZStateStream* out) const;
    void LoadState(ZStateStream* in);
    // One frame of a correction: run unseen with its input as it is now known.
    void RunAgain(const XFrameInput& input);

    uint32_t GetPhase() const { return phase; }
    uint32_t GetPhaseCounter() const { return phaseCounter; }
    uint32_t GetRoundNumber() const { return roundNumber; }
    int32_t GetItemTaker() const { return itemTaker; }
    bool IsAborted() const { return aborted; }
    bool IsBattleMode() const { return battleMode; }
    XPlayerChara* GetPlayer(int index) const { return players[index].get(); }
    XItemChara* GetItem() const { return item.get(); }
    XCanvasPlane* GetCanvas() const { return canvas.get(); }
    XTimerPlane* GetTimer() const { return timer.get(); }
    XResultBoard* GetResultBoard() const { return resultBoard.get(); }
    XEffectManager* GetEffects() const { return effects.get(); }
    XInputText* GetNameEntry() const { return nameEntry.get(); }
    uint64_t GetMatchChecksum() const { return matchChecksum.Get(); }
    // Online: the corrections so far, the frames they ran again and the most one ran again.
    struct Corrections {
        uint32_t count = 0;
        uint32_t frames = 0;
        uint32_t deepest = 0;
    };
    const Corrections& GetCorrections() const { return corrections; }

private:
    void PlayFrame();
    XFrameInput ReadSeats() const;
    void TakeFrameInput();
    void ApplyFrameInput();
    // The frame's work once its input is set; a frame run again is not drawn.
    void Step(bool seen);
    void PaintField();
    void Rewind(XMatchInput* matchInput);
    void SendStateCheck(XMatchInput* matchInput, uint32_t frame);
    void SteerHumans();
    void ChangePhase(uint32_t newPhase);
    void AdvancePhase();
    void EndRound();
    void EndMatch();
    // Leaves the round for the next scene: online only once every computer's input has decided the end.
    void FinishMatch();
    void StoreRankEntry();

    XAppData* app;
    uint32_t roundNumber = 0;
    int32_t itemTaker = -1;
    uint32_t phaseCounter = 0;
    uint32_t phase = kFinished;
    bool battleMode = true;
    std::array<std::unique_ptr<XPlayerChara>, 4> players;
    std::unique_ptr<XItemChara> item;
    std::unique_ptr<XCanvasPlane> canvas;
    std::unique_ptr<XTimerPlane> timer;
    std::unique_ptr<XResultBoard> resultBoard;
    std::unique_ptr<XEffectManager> effects;
    std::unique_ptr<XInputText> nameEntry;
    std::unique_ptr<ZSprite256> countDownDigits;
    std::unique_ptr<ZSprite256> startSignal;
    std::unique_ptr<ZSprite256> itemBanner;
    std::unique_ptr<ZSprite256> portraits;
    // Says REPLAY on the screen while a recorded match plays.
    std::unique_ptr<ZAscii> replayLabel;
    bool aborted = false;
    XFrameInput frameInput;
    ZChecksum matchChecksum;
    bool replaying = false;
    // The viewer pressed Escape during a replay.
    bool leavingReplay = false;
    // An online match stopped early on this computer.
    bool stopped = false;
    std::unique_ptr<XRollback> rollback;
    // The frame whose state is compared once every frame before it is known, 0 if none.
    uint32_t pendingCheck = 0;
    bool finished = false;
    Corrections corrections;
};
