#include <tuple>
#include <utility>

#include "audio/MciSequencer.h"
#include "audio/Music.h"
#include "support/TestSupport.h"

class MusicTest : public GameTest {
protected:
    // The end-of-music codes the main loop received, in order.
    std::vector<uintptr_t> Notes() const {
        std::vector<uintptr_t> codes;
        for (const auto& [time, message] : machine.script) codes.push_back(message.wParam);
        return codes;
    }
    // The player's commands since the last call.
    std::vector<std::string> Commands() { return std::exchange(machine.music, {}); }
};

TEST_F(MusicTest, APieceIsOpenedUnquotedPlaysFromTheStartAndReportsOnlyItsOwnEndOnce) {
    const std::string deep = "/opt/my games/" + std::string(220, 'd') + "/Music01.mid";
    EXPECT_TRUE(MciPlayMusicFile(nullptr, ("\"" + deep + "\"").c_str()));
    EXPECT_EQ(Commands(), (std::vector<std::string>{"open " + deep, "play from 0"}));
    machine.AdvanceMusic(60);
    EXPECT_TRUE(MciPlayMusicFile(nullptr, "\"/b/Music02.mid\""));
    EXPECT_EQ(Commands(), (std::vector<std::string>{"close", "open /b/Music02.mid", "play from 0"}));
    machine.AdvanceMusic(99);
    EXPECT_EQ(Notes(), std::vector<uintptr_t>{kMciNotifyAborted}) << "the old piece's end is never a success";
    machine.AdvanceMusic(1);
    machine.AdvanceMusic(50);
    EXPECT_TRUE(MciReplayMusic(nullptr));
    machine.AdvanceMusic(100);
    EXPECT_EQ(MciSendString("play MUSIC from 0", nullptr), 0u);
    machine.AdvanceMusic(100);
    EXPECT_EQ(Notes(),
              (std::vector<uintptr_t>{kMciNotifyAborted, kMciNotifySuccessful, kMciNotifySuccessful}))
        << "each notifying play reports its end once, a play without notify never";
    Commands();
    EXPECT_EQ(MciSendString("open /c.mid type sequencer alias MUSIC", nullptr), 0u);
    EXPECT_EQ(Commands().front(), "close") << "a new open replaces the piece";
    machine.missingMusic.insert("/nowhere/Music03.mid");
    EXPECT_FALSE(MciPlayMusicFile(nullptr, "\"/nowhere/Music03.mid\"") || MciPlayMusicFile(nullptr, nullptr));
    EXPECT_FALSE(MciReplayMusic(nullptr) || MciStopMusic() || MciResumeMusic(nullptr)) << "nothing is open";
    EXPECT_TRUE(MciCloseAll() && MciSendString("close MUSIC", nullptr) != 0);
}

TEST_F(MusicTest, AStopKeepsThePlaceAndEndsThePlayWithoutSuccessLikeACloseOrANewPlay) {
    ASSERT_TRUE(MciPlayMusicFile(nullptr, "\"/m.mid\""));
    machine.AdvanceMusic(40);
    EXPECT_TRUE(MciStopMusic());
    machine.AdvanceMusic(30);
    EXPECT_TRUE(MciResumeMusic(nullptr));
    machine.AdvanceMusic(20);
    EXPECT_TRUE(machine.piecePosition == 60 && MciReplayMusic(nullptr) && machine.piecePosition == 0);
    Commands();
    for (const char* bad :
         {"", "dance MUSIC", "play OTHER notify", "play MUSIC from 5", "play MUSIC from", "play MUSIC loudly",
          "stop", "stop XUSIC", "close OTHER", "close", "close all now",
          "open \"/x.mid\" type cdaudio alias MUSIC", "open type sequencer alias MUSIC"}) {
        EXPECT_NE(MciSendString(bad, nullptr), 0u) << bad;
    }
    // A command that fails changes nothing; words ignore case.
    EXPECT_TRUE(Commands().empty() && machine.musicPlaying && MciSendString("Close MUSIC", nullptr) == 0);
    machine.AdvanceMusic(200);
    EXPECT_EQ(Notes(), (std::vector<uintptr_t>{kMciNotifyAborted, kMciNotifySuperseded, kMciNotifyAborted}));
    EXPECT_NE(MciSendString("stop MUSIC", nullptr), 0u);
    EXPECT_EQ(MciSendString("open /plain.mid TYPE Sequencer alias music", nullptr), 0u);
    InstallMusicPlayer(nullptr, nullptr);
    EXPECT_EQ(Commands(), (std::vector<std::string>{"close", "open /plain.mid", "close"}))
        << "a player going closes its piece";
    EXPECT_FALSE(MciPlayMusicFile(nullptr, "\"/m.mid\"")) << "without a player nothing opens";
}
