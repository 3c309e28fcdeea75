#include <gtest/gtest.h>

#include <memory>
#include <set>
#include <string>
#include <vector>

#include "audio/MciSequencer.h"
#include "audio/Music.h"
#include "base/Paths.h"
#include "shell/XAppData.h"
#include "support/TestSupport.h"

namespace {

// A player whose piece is a number of ticks long; Advance stands in for the audio thread.
class FakePlayer : public MusicPlayer {
public:
    struct State {
        std::vector<std::string> log;
        std::set<std::string> missing;
        int length = 100;
        int position = 0;
        bool playing = false;
        bool endReported = false;
    };
    explicit FakePlayer(State* state) : s(state) {}

    bool Open(const std::string& path) override {
        s->log.push_back("open " + path);
        if (s->missing.count(path)) {
            return false;
        }
        s->position = 0;
        s->playing = false;
        return true;
    }
    bool Play(bool fromStart) override {
        s->log.push_back(fromStart ? "play from 0" : "play on");
        if (fromStart) {
            s->position = 0;
        }
        s->playing = true;
        s->endReported = false;
        return true;
    }
    void Stop() override {
        s->log.push_back("stop");
        s->playing = false;
    }
    void Close() override {
        s->log.push_back("close");
        s->playing = false;
        s->position = 0;
    }
    void Advance(int ticks) {
        if (!s->playing) {
            return;
        }
        s->position = std::min(s->position + ticks, s->length);
        if (s->position == s->length && !s->endReported) {
            s->endReported = true;
            ReportEnd();
        }
    }

private:
    State* s;
};

class MusicTest : public ::testing::Test {
protected:
    void SetUp() override {
        auto fake = std::make_unique<FakePlayer>(&state);
        player = fake.get();
        InstallMusicPlayer(std::move(fake), [this](int code) { notes.push_back(code); });
    }
    void TearDown() override { ShutdownMusic(); }

    int Successes() const { return static_cast<int>(std::count(notes.begin(), notes.end(), kMciNotifySuccessful)); }

    FakePlayer::State state;
    FakePlayer* player = nullptr;
    std::vector<int> notes;
};

}  // namespace

TEST_F(MusicTest, PlayingAFileClosesOpensUnquotesAndStartsFromTheBeginning) {
    EXPECT_TRUE(MciPlayMusicFile(nullptr, "\"/opt/my games/Music01.mid\""));
    EXPECT_EQ(state.log, (std::vector<std::string>{"open /opt/my games/Music01.mid", "play from 0"}));
    EXPECT_TRUE(state.playing);

    // A new piece closes the old one first; the old one's pending end never reports success.
    player->Advance(60);
    EXPECT_TRUE(MciPlayMusicFile(nullptr, "\"/b/Music02.mid\""));
    EXPECT_EQ(state.log, (std::vector<std::string>{"open /opt/my games/Music01.mid", "play from 0", "close",
                                                   "open /b/Music02.mid", "play from 0"}));
    EXPECT_EQ(state.position, 0);
    EXPECT_EQ(Successes(), 0);

    // A file that cannot be opened fails, and nothing is left open to play.
    state.missing.insert("/nowhere/Music03.mid");
    EXPECT_FALSE(MciPlayMusicFile(nullptr, "\"/nowhere/Music03.mid\""));
    EXPECT_FALSE(MciPlayMusicFile(nullptr, nullptr));
    EXPECT_FALSE(MciReplayMusic(nullptr));
    EXPECT_FALSE(MciStopMusic());
    EXPECT_TRUE(MciCloseAll());
    EXPECT_EQ(Successes(), 0);
}

TEST_F(MusicTest, PauseAndResumeKeepThePositionAndFromZeroRestarts) {
    ASSERT_TRUE(MciPlayMusicFile(nullptr, "\"/m.mid\""));
    player->Advance(40);
    EXPECT_TRUE(MciStopMusic());
    player->Advance(30);
    EXPECT_EQ(state.position, 40);
    EXPECT_TRUE(MciResumeMusic(nullptr));
    player->Advance(20);
    EXPECT_EQ(state.position, 60);
    EXPECT_TRUE(MciReplayMusic(nullptr));
    EXPECT_EQ(state.position, 0);
    EXPECT_EQ(Successes(), 0);
}

TEST_F(MusicTest, TheEndOfANotifyingPlayIsReportedExactlyOnce) {
    ASSERT_TRUE(MciPlayMusicFile(nullptr, "\"/m.mid\""));
    player->Advance(99);
    EXPECT_EQ(Successes(), 0);
    player->Advance(1);
    player->Advance(50);
    EXPECT_EQ(notes, std::vector<int>{kMciNotifySuccessful});
    // The shell's answer: play again from the start, and the next end is reported again.
    EXPECT_TRUE(MciReplayMusic(nullptr));
    player->Advance(100);
    EXPECT_EQ(Successes(), 2);

    // A player that reports an end twice for one play still gives one notification.
    EXPECT_TRUE(MciReplayMusic(nullptr));
    player->Advance(100);
    state.endReported = false;
    player->Advance(1);
    EXPECT_EQ(Successes(), 3);

    // A play without notify never reports.
    EXPECT_EQ(MciSendString("play MUSIC from 0", nullptr), 0u);
    player->Advance(100);
    EXPECT_EQ(Successes(), 3);
}

TEST_F(MusicTest, StopCloseAndANewPlayNeverReportSuccess) {
    ASSERT_TRUE(MciPlayMusicFile(nullptr, "\"/m.mid\""));
    player->Advance(50);
    EXPECT_TRUE(MciStopMusic());
    EXPECT_EQ(notes, std::vector<int>{kMciNotifyAborted});
    // A play cut short by a stop does not report when the piece is later resumed... by that play.
    EXPECT_TRUE(MciResumeMusic(nullptr));
    EXPECT_TRUE(MciReplayMusic(nullptr));
    EXPECT_EQ(notes, (std::vector<int>{kMciNotifyAborted, kMciNotifySuperseded}));
    EXPECT_TRUE(MciCloseAll());
    player->Advance(200);
    EXPECT_EQ(Successes(), 0);
    EXPECT_EQ(notes.back(), kMciNotifyAborted);
    EXPECT_FALSE(MciResumeMusic(nullptr));
}

TEST_F(MusicTest, LongPathsReachThePlayerWhole) {
    for (size_t length : {size_t{223}, size_t{224}, size_t{1000}}) {
        std::string path = "/" + std::string(length - 1, 'd');
        for (size_t i = 50; i < path.size(); i += 50) {
            path[i] = i % 100 ? '/' : ' ';
        }
        state.log.clear();
        EXPECT_TRUE(MciPlayMusicFile(nullptr, ("\"" + path + "\"").c_str())) << length;
        ASSERT_GE(state.log.size(), 1u);
        EXPECT_EQ(state.log[state.log.size() - 2], "open " + path);
    }
}

TEST_F(MusicTest, MalformedCommandsFailAndChangeNothing) {
    ASSERT_TRUE(MciPlayMusicFile(nullptr, "\"/m.mid\""));
    state.log.clear();
    for (const char* bad : {"", "   ", "dance MUSIC", "play OTHER notify", "play MUSIC from 5", "play MUSIC loudly",
                            "stop", "stop OTHER", "close", "open \"/x.mid\" type cdaudio alias MUSIC",
                            "open type sequencer alias MUSIC", "open \"\" type sequencer alias MUSIC"}) {
        EXPECT_NE(MciSendString(bad, nullptr), 0u) << bad;
    }
    EXPECT_NE(MciSendString(nullptr, nullptr), 0u);
    EXPECT_TRUE(state.log.empty());
    EXPECT_TRUE(state.playing);
    // Words are matched without regard to case, as the command layer does.
    EXPECT_EQ(MciSendString("STOP music", nullptr), 0u);
    EXPECT_EQ(MciSendString("Close MUSIC", nullptr), 0u);
    EXPECT_EQ(MciSendString("open /plain.mid TYPE Sequencer alias music", nullptr), 0u);
    EXPECT_EQ(state.log.back(), "open /plain.mid");

    // Without a player nothing opens.
    InstallMusicPlayer(nullptr, nullptr);
    EXPECT_FALSE(MciPlayMusicFile(nullptr, "\"/m.mid\""));
    EXPECT_TRUE(MciCloseAll());
}

TEST_F(MusicTest, TheApplicationSelectsLoopsPausesAndStopsItsMusic) {
    TempConfigDir config;
    XAppData app;
    app.SelectMusic(1);
    EXPECT_EQ(app.currentMusic, 1u);
    EXPECT_EQ(state.log.back(), "play from 0");
    EXPECT_EQ(state.log[state.log.size() - 2], "open " + std::string(GetExeDirectory().GetBuffer()) + "Music01.mid");
    // The same music again plays on undisturbed.
    player->Advance(30);
    app.SelectMusic(1);
    EXPECT_EQ(state.position, 30);

    app.PauseMusic();
    app.ResumeMusic();
    EXPECT_EQ(state.position, 30);
    player->Advance(100);
    ASSERT_EQ(Successes(), 1);
    app.ReplayMusic();
    EXPECT_EQ(state.position, 0);
    EXPECT_TRUE(state.playing);

    // A music that cannot be opened leaves none current: pause, resume and replay do nothing.
    state.missing.insert(std::string(GetExeDirectory().GetBuffer()) + "Music03.mid");
    app.SelectMusic(3);
    EXPECT_EQ(app.currentMusic, 0u);
    state.log.clear();
    app.PauseMusic();
    app.ResumeMusic();
    app.ReplayMusic();
    app.SelectMusic(7);
    EXPECT_EQ(state.log, std::vector<std::string>{});
    app.SelectMusic(2);
    app.StopMusic();
    EXPECT_EQ(app.currentMusic, 0u);
    EXPECT_EQ(state.log.back(), "close");
    EXPECT_FALSE(state.playing);
}
