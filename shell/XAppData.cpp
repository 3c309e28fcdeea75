#include "shell/XAppData.h"

#include <new>

#include "audio/Music.h"
#include "audio/ZSoundList.h"
#include "base/Paths.h"
#include "base/ZRankList.h"
#include "gfx/Display.h"
#include "round/XGame.h"
#include "round/XSoundLedger.h"
#include "scenes/XMenu.h"
#include "scenes/XOptions.h"
#include "scenes/XRanking.h"
#include "scenes/XTitle.h"
#include "scenes/XWaiting.h"
#include "scenes/XWinner.h"
#include "scenes/ZembraLogo.h"
#include "shell/XMatchInput.h"
#include "shell/XMenuData.h"
#include "shell/XSettings.h"

namespace {

// Load order fills slots 0 to 21.
constexpr uint16_t kSoundIds[] = {228, 180, 176, 181, 183, 182, 175, 197, 195, 196, 194,
                                  223, 224, 198, 174, 177, 179, 184, 178, 185, 220, 222};

}  // namespace

XAppData::XAppData()
    : menuSettings(std::make_unique<XMenuData>()),
      settings(std::make_unique<XSettings>()),
      matchInput(std::make_unique<XMatchInput>()),
      highScores(std::make_unique<ZRankList>(10)),
      soundLedger(std::make_unique<XSoundLedger>()) {
    highScores->FillDefaults(ZString("KOVRA GAMES"), 500, 50);
    highScores->LoadFromRegistry(kRegistryKey);
    settings->Load();
}

XAppData::~XAppData() {
    if (ownsHighScores) {
        highScores->SaveToRegistry(kRegistryKey);
        settings->Save();
    }
    DestroyScenes();
    soundList.reset();
}

template <typename Scene>
void XAppData::CreateScene(std::unique_ptr<Scene>& slot, int32_t runState) {
    WipeTopBottom(GetBackSurface(), 100);
    DestroyScenes();
    try {
        slot = std::make_unique<Scene>(this);
    } catch (const std::bad_alloc&) {
        // A scene that cannot be built must never run.
        slot.reset();
        failureText = "Failed to create DirectDraw surfaces.";
        sceneState = kQuit;
        return;
    }
    sceneState = runState;
}

void XAppData::UpdateFrame() {
    switch (sceneState) {
        case kCreateLogo: CreateScene(logoScene, kRunLogo); break;
        case kRunLogo: logoScene->UpdateFrame(); break;
        case kCreateTitle: CreateScene(titleScene, kRunTitle); break;
        case kRunTitle: titleScene->UpdateFrame(); break;
        case kCreateMenu:
            // A replay asked for on the command line is all this run was for.
            if (matchInput->GetReplayEnd() != XMatchInput::ReplayEnd::NotYet) {
                sceneState = kQuit;
                break;
            }
            // A joiner's menu is the host's: it waits for the next match there.
            if (matchInput->IsJoining()) {
                CreateScene(waitingScene, kRunWaiting);
                break;
            }
            CreateScene(menuScene, kRunMenu);
            break;
        case kRunMenu: menuScene->UpdateFrame(); break;
        case kCreateRound:
            if (!menuSettings->IsBattleMode()) {
                matchInput->BeginRankingRound();
            }
            CreateScene(roundScene, kRunRound);
            break;
        case kRunRound: roundScene->UpdateFrame(); break;
        case kCreateWinner: CreateScene(winnerScene, kRunWinner); break;
        case kRunWinner: winnerScene->UpdateFrame(); break;
        case kCreateRanking: CreateScene(rankingScene, kRunRanking); break;
        case kRunRanking: rankingScene->UpdateFrame(); break;
        case kCreateWaiting: CreateScene(waitingScene, kRunWaiting); break;
        case kRunWaiting: waitingScene->UpdateFrame(); break;
        case kCreateOptions: CreateScene(optionsScene, kRunOptions); break;
        case kRunOptions: optionsScene->UpdateFrame(); break;
        default: break;
    }
}

bool XAppData::IsFrameReady() {
    if (XMatchLink* link = matchInput->GetLink()) {
        link->Poll();
    }
    return sceneState != kRunRound || matchInput->IsFrameReady();
}

void XAppData::DestroyScenes() {
    logoScene.reset();
    roundScene.reset();
    titleScene.reset();
    menuScene.reset();
    winnerScene.reset();
    rankingScene.reset();
    waitingScene.reset();
    optionsScene.reset();
}

void XAppData::LoadSounds() {
    soundList = std::make_unique<ZSoundList>(mainWindow);
    for (uint16_t id : kSoundIds) {
        soundList->AddFromResource(id, 1);
    }
    soundList->SetVolume(settings->effectsVolume);
}

void XAppData::PlaySoundEffect(int32_t id, int32_t loop) {
    if (!soundLedger->Admit(id)) {
        return;
    }
    if (soundList && !fastForward) {
        soundList->Play(id, loop);
    }
}

void XAppData::StopSoundEffect(int32_t id) {
    if (!soundList) {
        return;
    }
    if (id == 0) {
        soundList->StopAll();
    } else {
        soundList->Stop(id);
    }
}

void XAppData::SelectMusic(uint32_t number) {
    if (number == currentMusic) {
        return;
    }
    StopMusic();
    const char* fileName = number == 1 ? "Music01.mid" : number == 2 ? "Music02.mid" : number == 3 ? "Music03.mid" : nullptr;
    if (!fileName) {
        return;
    }
    ZString path = QuotedExeFilePath(ZString(fileName));
    if (MciPlayMusicFile(mainWindow, path.GetBuffer())) {
        currentMusic = number;
    }
}

void XAppData::StopMusic() {
    currentMusic = 0;
    MciCloseAll();
}

void XAppData::PauseMusic() {
    if (currentMusic != 0) {
        MciStopMusic();
    }
}

void XAppData::ResumeMusic() {
    if (currentMusic != 0) {
        MciResumeMusic(mainWindow);
    }
}

void XAppData::ReplayMusic() {
    if (currentMusic != 0) {
        MciReplayMusic(mainWindow);
    }
}
