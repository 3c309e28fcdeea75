#pragma once

#include <cstdint>
#include <memory>

class DisplayDevice;
class XMatchInput;
class XMenuData;
class XSettings;
class ZRankList;
class ZSoundList;
class ZembraLogo;
class XGame;
class XTitle;
class XMenu;
class XWinner;
class XRanking;
class XWaiting;
class XOptions;
class XSoundLedger;

// The application object: it outlives every screen and owns the scene state machine, the match
// settings, the high-score table, the sound list and the music bookkeeping.
class XAppData {
public:
    // Scene states: an odd state creates a scene, the even one after it runs it.
    static constexpr int32_t kBeforeStart = 0;
    static constexpr int32_t kQuit = 1;
    static constexpr int32_t kCreateLogo = 3;
    static constexpr int32_t kRunLogo = 4;
    static constexpr int32_t kCreateTitle = 5;
    static constexpr int32_t kRunTitle = 6;
    static constexpr int32_t kCreateMenu = 9;
    static constexpr int32_t kRunMenu = 10;
    static constexpr int32_t kCreateRound = 11;
    static constexpr int32_t kRunRound = 12;
    static constexpr int32_t kCreateWinner = 13;
    static constexpr int32_t kRunWinner = 14;
    static constexpr int32_t kCreateRanking = 15;
    static constexpr int32_t kRunRanking = 16;
    // A computer that joins another's online match waits here for the host to start one.
    static constexpr int32_t kCreateWaiting = 17;
    static constexpr int32_t kRunWaiting = 18;
    static constexpr int32_t kCreateOptions = 19;
    static constexpr int32_t kRunOptions = 20;

    static constexpr const char* kRegistryKey = "Software\\KovraGames\\Tintorix";

    XAppData();
    XAppData(const XAppData&) = delete;
    XAppData& operator=(const XAppData&) = delete;
    virtual ~XAppData();

    // One step of the scene state machine.
    void UpdateFrame();
    // Whether the frame may run now: an online round waits for the other computers' input. Also keeps
    // the network going.
    bool IsFrameReady();
    void DestroyScenes();

    void LoadSounds();
    void PlaySoundEffect(int32_t id, int32_t loop);
    void StopSoundEffect(int32_t id);
    void SelectMusic(uint32_t number);
    void StopMusic();
    void PauseMusic();
    void ResumeMusic();
    void ReplayMusic();

    XMenuData* GetMenuSettings() const { return menuSettings.get(); }
    XSettings* GetSettings() const { return settings.get(); }
    XMatchInput* GetMatchInput() const { return matchInput.get(); }
    ZRankList* GetHighScores() const { return highScores.get(); }
    ZSoundList* GetSoundList() const { return soundList.get(); }
    // Online, the one place that knows which sounds of the frames run again were heard.
    XSoundLedger* GetSoundLedger() const { return soundLedger.get(); }

    // The scene that runs now, if it is of that kind (null otherwise).
    ZembraLogo* GetLogoScene() const { return logoScene.get(); }
    XGame* GetRoundScene() const { return roundScene.get(); }
    XTitle* GetTitleScene() const { return titleScene.get(); }
    XMenu* GetMenuScene() const { return menuScene.get(); }
    XWinner* GetWinnerScene() const { return winnerScene.get(); }
    XRanking* GetRankingScene() const { return rankingScene.get(); }
    XWaiting* GetWaitingScene() const { return waitingScene.get(); }
    XOptions* GetOptionsScene() const { return optionsScene.get(); }

    // The shell's state.
    void* instance = nullptr;
    void* mainWindow = nullptr;
    uint32_t lastFrameTime = 0;
    uint32_t frameInterval = 40;
    bool paused = false;
    // Frames run to catch up with an online match, unseen and unheard.
    bool fastForward = false;
    // Nobody looks at this copy's frames (a headless computer online): a round draws nothing.
    bool unwatched = false;
    bool hotKeysEnabled = true;
    DisplayDevice* displayDevice = nullptr;

    int32_t sceneState = kBeforeStart;
    int32_t matchWinner = -1;
    uint32_t currentMusic = 0;
    // Set when a scene cannot be built: the frame loop ends the game with this text.
    const char* failureText = nullptr;
    // Set once this copy holds the single-instance lock; only then are the table and the settings saved at
    // the end.
    bool ownsHighScores = false;

private:
    template <typename Scene>
    void CreateScene(std::unique_ptr<Scene>& slot, int32_t runState);

    std::unique_ptr<XMenuData> menuSettings;
    std::unique_ptr<XSettings> settings;
    std::unique_ptr<XMatchInput> matchInput;
    std::unique_ptr<ZRankList> highScores;
    std::unique_ptr<ZembraLogo> logoScene;
    std::unique_ptr<XGame> roundScene;
    std::unique_ptr<XTitle> titleScene;
    std::unique_ptr<XMenu> menuScene;
    std::unique_ptr<XWinner> winnerScene;
    std::unique_ptr<XRanking> rankingScene;
    std::unique_ptr<XWaiting> waitingScene;
    std::unique_ptr<XOptions> optionsScene;
    std::unique_ptr<ZSoundList> soundList;
    std::unique_ptr<XSoundLedger> soundLedger;
};
