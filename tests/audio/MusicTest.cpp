#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "audio/MciSequencer.h"
#include "audio/Music.h"
#include "base/Paths.h"
#include "support/TestSupport.h"

namespace {

class MusicTest : public GameTest {
protected:
    // The end-of-music codes the main loop received, in order.
    std::vector<uintptr_t> Notes() const {
        std::vector<uintptr_t> codes;
        for (const FakeMachine::Scheduled& entry : machine.script) {
            codes.push_back(entry.message.wParam);
        }
        return codes;
    }
    // The player's commands since the last call.
    std::vector<std::string> Commands() { return std::exchange(machine.music, {}); }
};

TEST_F(MusicTest, APieceIsOpenedUnquotedPlaysFromTheStartAndReportsOnlyItsOwnEndOnce) {
    EXPECT_TRUE(MciPlayMusicFile(nullptr, "\"/opt/my games/Music01.mid\""));
    EXPECT_EQ(Commands(), (std::vector<std::string>{"open /opt/my games/Music01.mid", "play from 0"}));
    machine.AdvanceMusic(60);
    EXPECT_TRUE(MciPlayMusicFile(nullptr, "\"/b/Music02.mid\""));
    EXPECT_EQ(Commands(), (std::vector<std::string>{"close", "open /b/Music02.mid", "play from 0"}));
    EXPECT_EQ(Notes(), std::vector<uintptr_t>{kMciNotifyAborted}) << "the old piece's end is never a success";
    machine.AdvanceMusic(99);
    EXPECT_EQ(Notes().size(), 1u);
    machine.AdvanceMusic(1);
    machine.AdvanceMusic(50);
    EXPECT_EQ(Notes(), (std::vector<uintptr_t>{kMciNotifyAborted, kMciNotifySuccessful}));
    EXPECT_TRUE(MciReplayMusic(nullptr));
    machine.AdvanceMusic(100);
    EXPECT_EQ(Notes().back(), uintptr_t{kMciNotifySuccessful}) << "a replay reports its end again";
    EXPECT_EQ(MciSendString("play MUSIC from 0", nullptr), 0u);
    machine.AdvanceMusic(100);
    EXPECT_EQ(Notes().size(), 3u) << "a play without notify never reports";

    machine.missingMusic.insert("/nowhere/Music03.mid");
    EXPECT_FALSE(MciPlayMusicFile(nullptr, "\"/nowhere/Music03.mid\"") || MciPlayMusicFile(nullptr, nullptr));
    EXPECT_FALSE(MciReplayMusic(nullptr) || MciStopMusic() || MciResumeMusic(nullptr)) << "nothing is open";
    EXPECT_TRUE(MciCloseAll());
    for (size_t length : {size_t{223}, size_t{224}, size_t{1000}}) {
        std::string path = "/" + std::string(length - 1, 'd');
        for (size_t i = 50; i < path.size(); i += 50) {
            path[i] = i % 100 ? '/' : ' ';
        }
        EXPECT_TRUE(MciPlayMusicFile(nullptr, ("\"" + path + "\"").c_str())) << length;
        EXPECT_EQ(Commands().end()[-2], "open " + path) << length;
    }
}

TEST_F(MusicTest, AStopKeepsThePlaceAndEndsThePlayWithoutSuccessLikeACloseOrANewPlay) {
    ASSERT_TRUE(MciPlayMusicFile(nullptr, "\"/m.mid\""));
    machine.AdvanceMusic(40);
    EXPECT_TRUE(MciStopMusic());
    machine.AdvanceMusic(30);
    EXPECT_TRUE(MciResumeMusic(nullptr));
    machine.AdvanceMusic(20);
    EXPECT_EQ(machine.piecePosition, 60);
    EXPECT_TRUE(MciReplayMusic(nullptr));
    EXPECT_EQ(machine.piecePosition, 0);
    EXPECT_TRUE(MciCloseAll());
    machine.AdvanceMusic(200);
    EXPECT_EQ(Notes(), (std::vector<uintptr_t>{kMciNotifyAborted, kMciNotifySuperseded, kMciNotifyAborted}));
    EXPECT_FALSE(MciResumeMusic(nullptr));
    EXPECT_NE(MciSendString("close MUSIC", nullptr), 0u) << "nothing open under the alias";
}

TEST_F(MusicTest, MalformedCommandsFailAndChangeNothingWhileWordsIgnoreCase) {
    ASSERT_TRUE(MciPlayMusicFile(nullptr, "\"/m.mid\""));
    Commands();
    for (const char* bad :
         {"", "   ", "dance MUSIC", "play OTHER notify", "play MUSIC from 5", "play MUSIC loudly", "stop",
          "stop OTHER", "close", "close OTHER", "open \"/x.mid\" type cdaudio alias MUSIC",
          "open type sequencer alias MUSIC", "open \"\" type sequencer alias MUSIC"}) {
        EXPECT_NE(MciSendString(bad, nullptr), 0u) << bad;
    }
    EXPECT_NE(MciSendString(nullptr, nullptr), 0u);
    EXPECT_TRUE(Commands().empty() && machine.musicPlaying);
    EXPECT_EQ(MciSendString("STOP music", nullptr) + MciSendString("Close MUSIC", nullptr), 0u);
    EXPECT_EQ(MciSendString("open /plain.mid TYPE Sequencer alias music", nullptr), 0u);
    EXPECT_EQ(Commands(), (std::vector<std::string>{"stop", "close", "open /plain.mid"}));
    InstallMusicPlayer(nullptr, nullptr);
    EXPECT_FALSE(MciPlayMusicFile(nullptr, "\"/m.mid\"")) << "without a player nothing opens";
    EXPECT_TRUE(MciCloseAll());
}

TEST_F(MusicTest, TheGameSelectsItsPiecesBesideTheExecutableAndForgetsOneThatWillNotOpen) {
    const std::string directory = GetExeDirectory().GetBuffer();
    app->SelectMusic(1);
    EXPECT_EQ(Commands(), (std::vector<std::string>{"open " + directory + "Music01.mid", "play from 0"}));
    machine.AdvanceMusic(30);
    app->SelectMusic(1);
    app->PauseMusic();
    app->ResumeMusic();
    EXPECT_EQ(Commands(), (std::vector<std::string>{"stop", "play on"})) << "the same music plays on";
    machine.AdvanceMusic(100);
    app->ReplayMusic();
    EXPECT_EQ(std::tuple(app->currentMusic, machine.piecePosition, machine.musicPlaying),
              std::tuple(1u, 0, true));
    machine.missingMusic.insert(directory + "Music03.mid");
    app->SelectMusic(3);
    EXPECT_EQ(app->currentMusic, 0u);
    Commands();
    app->PauseMusic();
    app->ResumeMusic();
    app->ReplayMusic();
    app->SelectMusic(7);
    EXPECT_TRUE(Commands().empty());
    app->SelectMusic(2);
    app->StopMusic();
    EXPECT_EQ(std::tuple(app->currentMusic, machine.OpenMusic(), machine.musicPlaying),
              std::tuple(0u, "", false));
}

}  // namespace
