// tintorix-bench: plays whole matches of computer painters headless, as fast as the machine allows,
// through the real round scene, and reports the results, the frame times and a checksum that must be
// the same on every run with the same arguments, and what an online correction of 8 frames costs beside a
// plain frame. It also records a match with scripted people steering, and verifies a recorded match by
// playing it again.

#include <algorithm>
#include <bit>
#include <chrono>
#include <cinttypes>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "base/ZChecksum.h"
#include "base/ZStateStream.h"
#ifdef TINTORIX_HAS_NET
#include "net/XNetSession.h"
#endif
#include "gfx/Display.h"
#include "gfx/Maths.h"
#include "input/Input.h"
#include "round/XCanvasPlane.h"
#include "round/XGame.h"
#include "round/XPlayerChara.h"
#include "round/XResultBoard.h"
#include "round/XRollback.h"
#include "shell/CommandLine.h"
#include "shell/XAppData.h"
#include "shell/XMatchInput.h"
#include "shell/XMenuData.h"
#include "shell/XReplay.h"
#include "shell/XSettings.h"

namespace {

enum class Mode { Single, Team, Ranking };

struct Options {
    uint32_t seed = 1;
    uint32_t matches = 1;
    Mode mode = Mode::Single;
    int32_t wins = 2;
    int humans = 0;
    uint32_t escapeFrame = 0;
    std::string record;
    std::string replay;
    // Online: host for this many joiners on the port, or join the host at HOST:PORT.
    uint16_t hostPort = 0;
    int peers = 1;
    std::string join;
    // Frames no faster than the game's 25 a second; the process ends without a word at this frame.
    bool paced = false;
    uint32_t quitFrame = 0;
};

constexpr const char* kUsage =
    "usage: tintorix-bench [--seed N] [--matches N] [--mode single|team|ranking] [--wins N]\n"
    "                      [--humans N] [--escape N] [--record FILE]\n"
    "       tintorix-bench --replay FILE\n"
    "       tintorix-bench --host PORT [--peers N] [--seed N] [--mode M] [--wins N] [--record FILE]\n"
    "                      [--paced 1] [--quit-at N]\n"
    "       tintorix-bench --join 127.0.0.1:PORT [--seed N] [--record FILE] [--paced 1] [--quit-at N]\n"
    "       tintorix-bench --help\n"
    "  --seed N       random seed, 0 to 4294967295 (default 1)\n"
    "  --matches N    matches to play, 1 to 100000 (default 1)\n"
    "  --mode M       single, team or ranking (default single)\n"
    "  --wins N       round wins needed, 1 to 3 (default 2)\n"
    "  --humans N     players 1 to N are people steered by a script (default 0)\n"
    "  --escape N     Escape is pressed on the match's frame N\n"
    "  --record FILE  record the first battle match to the file\n"
    "  --replay FILE  play a recorded match again and check it plays the same\n"
    "  --host PORT    play one match online on 127.0.0.1: player 1 scripted here, players 2 on\n"
    "                 on the --peers N (1 to 3) computers that join, the rest the computer's\n"
    "  --join A:PORT  play the seat the host gives, scripted\n"
    "  --paced 1      no faster than 25 frames a second, as the game\n"
    "  --quit-at N    vanish without a word at the match's frame N, as a killed game\n"
    "A value may also follow its option after an equals sign: --seed=7.\n";

// A whole decimal number within [low, high]; anything else is refused.
bool ParseNumber(const char* text, uint64_t low, uint64_t high, uint64_t* value) {
    if (!text || !*text || std::strlen(text) > 10) {
        return false;
    }
    uint64_t result = 0;
    for (const char* p = text; *p; ++p) {
        if (*p < '0' || *p > '9') {
            return false;
        }
        result = result * 10 + static_cast<uint64_t>(*p - '0');
    }
    if (result < low || result > high) {
        return false;
    }
    *value = result;
    return true;
}

// The option's value, when given, as a whole number within [low, high] into a field of any integer type;
// what is wrong with it refuses the line.
template <typename T>
void TakeNumber(CommandLine& line, const char* name, uint64_t low, uint64_t high, T* field,
                const char* what = "a number") {
    const CommandLine::Given* given = line.Find(name);
    uint64_t number = 0;
    if (given && ParseNumber(given->value.c_str(), low, high, &number)) {
        *field = static_cast<T>(number);
    } else if (given) {
        line.Refuse(std::string(name) + ": " + given->value + " is not " + what + " from " +
                    std::to_string(low) + " to " + std::to_string(high));
    }
}

// False with the reason when the command line is refused; help asked for is not read any further.
bool ParseOptions(int argc, char** argv, Options* options, bool* help, std::string* error) {
    using Takes = CommandLine::Takes;
    CommandLine line(argc, argv,
                     {{"--help"},
                      {"-h"},
                      {"--seed", Takes::Value, "a number"},
                      {"--matches", Takes::Value, "a number"},
                      {"--mode", Takes::Value, "single, team or ranking"},
                      {"--wins", Takes::Value, "a number"},
                      {"--humans", Takes::Value, "a number"},
                      {"--escape", Takes::Value, "a frame"},
                      {"--record", Takes::Value, "a file"},
                      {"--replay", Takes::Value, "a file"},
                      {"--host", Takes::Value, "a port"},
                      {"--peers", Takes::Value, "a number"},
                      {"--join", Takes::Value, "ADDRESS:PORT"},
                      {"--paced", Takes::Value, "1"},
                      {"--quit-at", Takes::Value, "a frame"}});
    *help = line.Has("--help") || line.Has("-h");
    if (*help) {
        return true;
    }
    TakeNumber(line, "--seed", 0, UINT32_MAX, &options->seed);
    TakeNumber(line, "--matches", 1, 100000, &options->matches);
    TakeNumber(line, "--wins", 1, 3, &options->wins);
    TakeNumber(line, "--humans", 0, 4, &options->humans);
    TakeNumber(line, "--escape", 1, XReplay::kMaxFrames, &options->escapeFrame, "a frame");
    TakeNumber(line, "--host", 1, 65535, &options->hostPort, "a port, a number");
    TakeNumber(line, "--peers", 1, 3, &options->peers);
    TakeNumber(line, "--quit-at", 1, XReplay::kMaxFrames, &options->quitFrame, "a frame");
    if (const CommandLine::Given* paced = line.Find("--paced")) {
        options->paced = paced->value == "1";
        if (!options->paced) {
            line.Refuse("--paced: " + paced->value + " is not 1");
        }
    }
    if (const CommandLine::Given* join = line.Find("--join")) {
        size_t colon = join->value.rfind(':');
        uint64_t port = 0;
        if (colon == std::string::npos || !ParseNumber(join->value.c_str() + colon + 1, 1, 65535, &port)) {
            line.Refuse("--join: " + join->value + " is not ADDRESS:PORT");
        }
        options->join = join->value;
    }
    if (const CommandLine::Given* record = line.Find("--record")) {
        options->record = record->value;
    }
    if (const CommandLine::Given* replay = line.Find("--replay")) {
        options->replay = replay->value;
    }
    if (const CommandLine::Given* mode = line.Find("--mode")) {
        const char* const names[] = {"single", "team", "ranking"};
        auto found = std::find(std::begin(names), std::end(names), mode->value);
        if (found == std::end(names)) {
            line.Refuse("--mode: " + mode->value + " is not single, team or ranking");
        }
        options->mode =
            found == std::end(names) ? Mode::Single : static_cast<Mode>(found - std::begin(names));
    }
    line.Exclude("--host", "--join");
    // A replay brings its own match.
    for (const CommandLine::Given& given : line.GetGiven()) {
        if (given.name != "--replay") {
            line.Exclude("--replay", given.name.c_str());
        }
    }
    bool online = options->hostPort != 0 || !options->join.empty();
    if (options->mode == Mode::Ranking && !options->record.empty()) {
        line.Refuse("a ranking round is not recorded, only a battle match");
    } else if (options->mode == Mode::Ranking && online) {
        line.Refuse("a ranking round is played alone, not online");
    }
    if (online) {
        // One scripted person at each computer.
        options->humans = 1;
    }
    *error = line.GetError();
    return !line.IsRefused();
}

// People steering with their keys: each holds left, right or neither for a while, drawn from a generator
// of its own, so the game's random numbers stay the computer painters'.
class ScriptedPeople {
public:
    ScriptedPeople(uint32_t seed, int count) : state(seed), count(count) {}

    void Steer(const XAppData& app) {
        for (int seat = 0; seat < count; ++seat) {
            if (hold[seat] == 0) {
                state = state * 1664525u + 1013904223u;
                int previous = way[seat];
                way[seat] = static_cast<int>(state >> 30) % 3;
                hold[seat] = 1 + (state >> 8) % 40;
                const int* keys = app.GetSettings()->steeringKeys[seat];
                for (int side = 0; side < 2 && way[seat] != previous; ++side) {
                    KeyboardEvent(keys[side], way[seat] == side + 1);
                }
            }
            --hold[seat];
        }
    }

private:
    uint32_t state;
    int count;
    // 0 neither, 1 left, 2 right.
    int way[4] = {};
    uint32_t hold[4] = {};
};

// The high-score table of the bench's application object lives in a directory of its own, so the
// user's table is never read or written. It goes at exit, and before a quit that skips the destructors.
std::string temporaryHome;

void RemoveTemporaryHome() {
    if (!temporaryHome.empty()) {
        std::error_code ignored;
        std::filesystem::remove_all(temporaryHome, ignored);
        temporaryHome.clear();
    }
}

class TempConfigHome {
public:
    TempConfigHome() {
        char pattern[] = "/tmp/tintorix-bench-XXXXXX";
        if (mkdtemp(pattern)) {
            temporaryHome = pattern;
            setenv("XDG_CONFIG_HOME", pattern, 1);
        }
    }
    ~TempConfigHome() { RemoveTemporaryHome(); }
    bool IsReady() const { return !temporaryHome.empty(); }
};

void SetUpMatch(XAppData& app, const Options& options) {
    XMenuData* settings = app.GetMenuSettings();
    settings->SetDefaults();
    settings->SetBattleMode(options.mode == Mode::Ranking ? 0 : 1);
    if (options.mode == Mode::Team) {
        settings->ToggleBattleType();
    }
    while (settings->GetWinsNeeded() != options.wins) {
        settings->CycleWinsNeeded();
    }
    int humans = options.hostPort != 0 ? 1 + options.peers : options.humans;
    for (int i = 0; i < 4; ++i) {
        settings->SetControlType(i, i < humans ? XPlayerChara::kHuman : XPlayerChara::kComputer);
    }
}

class Bench {
public:
    explicit Bench(const Options& options) : options(options) {}

    void Run(XAppData& app) {
        frameTimes.reserve(static_cast<size_t>(options.matches) * 8000);
        auto start = std::chrono::steady_clock::now();
        for (uint32_t match = 1; match <= options.matches; ++match) {
            PlayMatch(app, match);
        }
        double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        Report(seconds);
    }

private:
    void PlayMatch(XAppData& app, uint32_t match) {
        XMatchLink* link = app.GetMatchInput()->GetLink();
        if (app.GetMatchInput()->IsJoining()) {
            link->TakeStart(app.GetMenuSettings());
        } else if (options.replay.empty()) {
            SetUpMatch(app, options);
        }
        app.sceneState = XAppData::kCreateRound;
        app.UpdateFrame();
        XGame* game = app.GetRoundScene();
        if (!game) {
            return;
        }
        if (options.mode == Mode::Ranking) {
            // A ranking round seats a person on player 1; the computer takes that seat here.
            game->GetPlayer(0)->SetControlType(XPlayerChara::kComputer);
        }
        ScriptedPeople people(options.seed + match, options.humans);
        auto due = std::chrono::steady_clock::now();
        for (uint32_t frame = 1; app.sceneState == XAppData::kRunRound; ++frame) {
            if (link) {
                if (options.paced) {
                    // Due on a fixed schedule from the match's start, so a late frame is made up.
                    due += std::chrono::milliseconds(40);
                    for (auto now = std::chrono::steady_clock::now(); now < due;
                         now = std::chrono::steady_clock::now()) {
                        auto left = std::chrono::ceil<std::chrono::milliseconds>(due - now);
                        link->Wait(static_cast<uint32_t>(left.count()));
                    }
                }
                while (!app.IsFrameReady()) {
                    link->Wait(20);
                }
                if (frame == options.quitFrame) {
                    std::fflush(stdout);
                    RemoveTemporaryHome();
                    std::_Exit(3);
                }
            }
            people.Steer(app);
            if (frame == options.escapeFrame) {
                KeyboardEvent(kKeyEscape, true);
                KeyboardEvent(kKeyEscape, false);
            }
            uint32_t phaseBefore = game->GetPhase();
            auto frameStart = std::chrono::steady_clock::now();
            app.UpdateFrame();
            auto frameEnd = std::chrono::steady_clock::now();
            frameTimes.push_back(
                static_cast<uint32_t>(std::chrono::duration_cast<std::chrono::nanoseconds>(frameEnd - frameStart).count()));
            if (!link && match == 1 && frame == kCorrectionFrame) {
                MeasureCorrection(*game);
            }
            if (phaseBefore == XGame::kFadeOut && game->GetPhase() != XGame::kFadeOut) {
                FinishRound(*game, match);
            }
            if (game->GetPhase() == XGame::kNameEntry && !nameRequested) {
                // Confirm the name at once: an empty name is stored under the house name.
                nameRequested = true;
                KeyboardEvent(kKeyReturn, true);
                KeyboardEvent(kKeyReturn, false);
            }
        }
        checksum.AddInt(game->IsAborted() ? -1 : app.matchWinner);
        if (link) {
            const XGame::Corrections& corrections = game->GetCorrections();
            std::printf("corrections=%u frames_run_again=%u deepest=%u\n", corrections.count, corrections.frames,
                        corrections.deepest);
        }
        nameRequested = false;
        std::string stopped = link ? link->GetStopReason() : std::string();
        if (!stopped.empty()) {
            std::printf("stopped=%s\n", stopped.c_str());
        }
        for (int i = 0; link && i < 4; ++i) {
            if (app.GetMenuSettings()->GetControlType(i) == XPlayerChara::kHuman &&
                game->GetPlayer(i)->GetControlType() == XPlayerChara::kComputer) {
                std::printf("computer-took-over=%d\n", i + 1);
            }
        }
    }

    // What an online correction of 8 frames costs: back to the snapshot before the first of them, then each
    // frame saved and run again unseen. The round goes back to where it was, so the match plays on as
    // without the measure.
    void MeasureCorrection(XGame& game) {
        XRollback ring;
        game.GetCanvas()->KeepHistory(true);
        ZStateStream before;
        before.StartWriting();
        game.SaveState(&before);
        std::vector<double> costs;
        for (int repeat = 0; repeat < 21; ++repeat) {
            for (uint32_t frame = 1; frame <= kCorrectionFrames; ++frame) {
                ring.Save(frame, game, false);
                game.RunAgain(XFrameInput{});
            }
            auto start = std::chrono::steady_clock::now();
            ring.Restore(1, &game);
            for (uint32_t frame = 1; frame <= kCorrectionFrames; ++frame) {
                ring.Save(frame, game, false);
                game.RunAgain(XFrameInput{});
            }
            costs.push_back(std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - start).count());
            before.StartReading();
            game.LoadState(&before);
        }
        game.GetCanvas()->KeepHistory(false);
        std::sort(costs.begin(), costs.end());
        correctionMicros = costs[costs.size() / 2];
    }

    void FinishRound(XGame& game, uint32_t match) {
        int32_t scores[4];
        for (int i = 0; i < 4; ++i) {
            scores[i] = game.GetPlayer(i)->GetScore();
        }
        game.AddRoundTo(&checksum);
        std::printf("match=%u round=%u scores=%d,%d,%d,%d winner=%d\n", match, game.GetRoundNumber(), scores[0],
                    scores[1], scores[2], scores[3], game.GetResultBoard()->GetWinner());
    }

    void Report(double seconds) {
        std::vector<uint32_t> sorted = frameTimes;
        std::sort(sorted.begin(), sorted.end());
        auto percentile = [&](double p) -> double {
            if (sorted.empty()) {
                return 0.0;
            }
            size_t index = static_cast<size_t>(p * static_cast<double>(sorted.size() - 1) + 0.5);
            return sorted[index] / 1000.0;
        };
        double fps = seconds > 0.0 ? static_cast<double>(frameTimes.size()) / seconds : 0.0;
        if (correctionMicros > 0.0) {
            // Beside its anchor, a plain frame of the same run.
            std::printf("correction frames=%u us=%.1f plain_frame_us=%.1f\n", kCorrectionFrames, correctionMicros,
                        percentile(0.50));
        }
        std::printf("frames=%zu seconds=%.3f fps=%.0f p50_us=%.1f p99_us=%.1f checksum=%016" PRIx64 "\n",
                    frameTimes.size(), seconds, fps, percentile(0.50), percentile(0.99), checksum.Get());
    }

    static constexpr uint32_t kCorrectionFrame = 400;
    static constexpr uint32_t kCorrectionFrames = 8;

    Options options;
    double correctionMicros = 0.0;
    std::vector<uint32_t> frameTimes;
    ZChecksum checksum;
    bool nameRequested = false;
};

// Online: opens the session and waits until the match can begin, for at most 30 s.
bool GoOnline(XAppData& app, const Options& options) {
    if (options.hostPort == 0 && options.join.empty()) {
        return true;
    }
#ifdef TINTORIX_HAS_NET
    auto session = std::make_unique<XNetSession>();
    XNetSession* net = session.get();
    net->programName = "tintorix-bench";
    std::string error;
    if (options.hostPort != 0) {
        SetUpMatch(app, options);
        error = net->Host(options.hostPort, app.GetMenuSettings(), true);
    } else {
        size_t colon = options.join.rfind(':');
        error = net->Join(options.join.substr(0, colon),
                          static_cast<uint16_t>(std::strtoul(options.join.c_str() + colon + 1, nullptr, 10)));
    }
    if (!error.empty()) {
        std::fprintf(stderr, "tintorix-bench: %s\n", error.c_str());
        return false;
    }
    if (options.hostPort != 0) {
        // Said once the port is open, for whoever starts the joiners.
        std::printf("listening port=%u\n", options.hostPort);
    }
    app.GetMatchInput()->SetLink(std::move(session));
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    XMenuData start;
    for (;;) {
        net->Service(5);
        XMatchLink::Lobby lobby = net->GetLobby();
        bool ready = options.hostPort != 0
                         ? std::popcount(lobby.joinedSeats) >= options.peers && net->IsRoundTripMeasured()
                         : net->TakeStart(&start);
        if (ready) {
            // For whoever measures the match while it plays.
            std::printf("playing\n");
            return true;
        }
        if (!lobby.closedReason.empty() || std::chrono::steady_clock::now() > deadline) {
            std::fprintf(stderr, "tintorix-bench: no match: %s\n",
                         lobby.closedReason.empty() ? "nobody came in 30 s" : lobby.closedReason.c_str());
            return false;
        }
    }
#else
    (void)app;
    std::fprintf(stderr, "tintorix-bench: built without ENet\n");
    return false;
#endif
}

// Stays until the others hold every frame of the match, then tells what the link cost.
void FinishOnline(XAppData& app, const Options& options) {
#ifdef TINTORIX_HAS_NET
    auto* net = static_cast<XNetSession*>(app.GetMatchInput()->GetLink());
    if (!net) {
        return;
    }
    auto start = std::chrono::steady_clock::now();
    while (!net->IsSettled() && std::chrono::steady_clock::now() - start < std::chrono::seconds(5)) {
        net->Service(5);
    }
    int links = options.hostPort != 0 ? options.peers : 1;
    std::printf("online delay=%u round_trip_ms=%u sent_bytes_per_link=%" PRIu64
                " received_bytes_per_link=%" PRIu64 "\n",
                net->GetDelay(), net->GetMatchRoundTrip(), net->GetBytesSent() / links,
                net->GetBytesReceived() / links);
#else
    (void)app;
    (void)options;
#endif
}

}  // namespace

int main(int argc, char** argv) {
    Options options;
    bool help = false;
    std::string error;
    if (!ParseOptions(argc, argv, &options, &help, &error)) {
        std::fprintf(stderr, "tintorix-bench: %s (try --help)\n", error.c_str());
        return 2;
    }
    if (help) {
        std::fputs(kUsage, stdout);
        return 0;
    }
    std::setvbuf(stdout, nullptr, _IOLBF, 0);

    TempConfigHome configHome;
    if (!configHome.IsReady()) {
        std::fprintf(stderr, "tintorix-bench: cannot create a temporary configuration directory\n");
        return 1;
    }
    SetDisplayDeviceFactory(nullptr);
    if (!CreateDisplay(nullptr) || !CreateDisplaySurfaces() || !InitPalette(102)) {
        std::fprintf(stderr, "tintorix-bench: cannot set up the headless display\n");
        return 1;
    }
    // Nobody types on the bench's keyboard: its people are scripted, every other seat is the computer's.
    SetInputPlatform(HeadlessInputPlatform());
    if (!CreateInput(nullptr, nullptr)) {
        std::fprintf(stderr, "tintorix-bench: cannot set up the input\n");
        return 1;
    }
    BuildDirectionTables();
    SeedRandomWith(options.seed);

    int result = 0;
    {
        XAppData app;
        // The canvas makes its clipper through the display device, as in the game.
        app.displayDevice = GetDisplayDevice();
        // Online the bench is a computer with nobody at its screen; offline its frame times include drawing.
        app.unwatched = options.hostPort != 0 || !options.join.empty();
        XMatchInput* matchInput = app.GetMatchInput();
        matchInput->programName = "tintorix-bench";
        bool replay = !options.replay.empty();
        const std::string& file = replay ? options.replay : options.record;
        std::string error;
        if (replay) {
            error = matchInput->LoadReplay(file, app.GetMenuSettings());
        } else if (!file.empty()) {
            error = matchInput->RecordNextMatch(file);
        }
        if (!error.empty()) {
            std::fprintf(stderr, "tintorix-bench: cannot %s %s: %s\n", replay ? "replay" : "record",
                         file.c_str(), error.c_str());
            result = 1;
        } else if (!GoOnline(app, options)) {
            result = 1;
        } else {
            Bench bench(options);
            bench.Run(app);
            app.DestroyScenes();
            FinishOnline(app, options);
            // The verdict's line is already written.
            result = matchInput->GetReplayEnd() == XMatchInput::ReplayEnd::Different;
        }
        if (app.failureText) {
            std::fprintf(stderr, "tintorix-bench: %s\n", app.failureText);
            result = 1;
        }
    }
    ReleaseInput();
    ReleaseDisplaySurfaces();
    ReleaseDisplay();
    return result;
}
