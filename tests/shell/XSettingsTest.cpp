#include <filesystem>
#include <fstream>

#include "input/Input.h"
#include "shell/Options.h"
#include "shell/XSettings.h"
#include "support/TestSupport.h"

TEST(XSettingsTest, ValuesReadInRangeOrAsTheDefaultsAndSurviveASave) {
    TempConfigDir config;
    std::string file = config.Path() + "/KovraGames/Tintorix/Settings/registry.reg";
    std::filesystem::create_directories(std::filesystem::path(file).parent_path());
    std::ofstream(file)
        << "Windows Registry Editor Version 5.00\n\n"
           "[HKEY_CURRENT_USER\\Software\\KovraGames\\Tintorix\\Settings]\n"
           "\"FullScreen\"=\"0\"\n\"WindowWidth\"=\"639\"\n\"WindowHeight\"=\"600\"\n"
           "\"WindowX\"=\"-20\"\n\"WindowY\"=\"7x\"\n\"MusicVolume\"=\"0\"\n\"EffectsVolume\"=\"0000000050\"\n"
           "\"Player1Left\"=\"30\"\n\"Player1Right\"=\"32\"\n\"Player2Left\"=\"256\"\n"
           "\"Player3Left\"=\"50\"\n\"Player3Right\"=\"50\"\n";
    XSettings settings;
    settings.Load();
    auto fields = [](const XSettings& s) {
        return std::vector<int>{s.window.fullScreen,  s.window.width,       s.window.height,
                                s.window.x,           s.window.y,           s.musicVolume,
                                s.effectsVolume,      s.steeringKeys[0][0], s.steeringKeys[0][1],
                                s.steeringKeys[1][0], s.steeringKeys[2][0], s.steeringKeys[2][1]};
    };
    const int unset = WindowPlacement::kUnset;
    // A pair of one key for both ways keeps the default pair.
    std::vector<int> read = {0, unset, 600, -20, unset, 0, 100, 30, 32, kKeyZ, kKeyN, kKeyM};
    EXPECT_EQ(fields(settings), read);
    settings.window.x = read[3] = 33;  // the window moved
    settings.window.y = read[4] = 44;
    settings.Save();
    XSettings again;
    again.Load();
    EXPECT_EQ(fields(again), read);
    again.SetDefaults();
    EXPECT_EQ(fields(again), (std::vector<int>{1, unset, unset, unset, unset, 100, 100, kKeyLeft, kKeyRight,
                                               kKeyZ, kKeyN, kKeyM}));
}

TEST(XSettingsTest, TheWindowFitsTheUsableAreaAndKeepsTheUsersSizeAndPlace) {
    const int u = WindowPlacement::kUnset;
    // The usable area; the user's x, y, width and height; the window.
    const std::tuple<Rect, std::array<int, 4>, Rect> cases[] = {
        {{0, 0, 1024, 740}, {u, u, u, u}, {192, 130, 832, 610}},
        {{0, 30, 1920, 1080}, {u, u, u, u}, {320, 75, 1600, 1035}},
        {{0, 0, 600, 400}, {u, u, u, u}, {0, 0, 640, 480}},
        {{100, 30, 2660, 1470}, {u, u, u, u}, {420, 30, 2340, 1470}},
        {{0, 0, 1024, 768}, {-50, 700, 800, 600}, {0, 168, 800, 768}},
        {{0, 0, 1024, 768}, {10, 20, 300, 2000}, {10, 0, 650, 768}},
        {{0, 0, 1024, 768}, {u, u, 800, 600}, {112, 84, 912, 684}}};
    for (const auto& [area, user, want] : cases) {
        WindowPlacement placement;
        std::tie(placement.x, placement.y, placement.width, placement.height) =
            std::tie(user[0], user[1], user[2], user[3]);
        Rect r = placement.FittedTo(area);
        EXPECT_EQ(std::tie(r.left, r.top, r.right, r.bottom),
                  std::tie(want.left, want.top, want.right, want.bottom))
            << area.right << " " << user[0] << " " << user[2];
    }
}

// What the command line asks for: help, the version, the error's line, or play's mode (-1 as left, 0 a
// window, 1 full screen), reset, the files to record to and replay, and where to play online.
static std::string Parsed(std::vector<const char*> words) {
    words.insert(words.begin(), "tintorix");
    Options o = ParseOptions(static_cast<int>(words.size()), words.data());
    std::string online = o.host ? " host:" : o.joinHost.empty() ? "" : " join " + o.joinHost + ":";
    return o.action == Options::Action::Help      ? "help"
           : o.action == Options::Action::Version ? "version"
           : o.action == Options::Action::Usage
               ? o.error
               : std::to_string(o.fullScreen) + (o.resetSettings ? " reset" : "") + " [" + o.recordFile +
                     "|" + o.replayFile + "]" + online + (online.empty() ? "" : std::to_string(o.port));
}

TEST(XSettingsTest, OptionsChooseTheModeOrAskForHelpTheVersionOrSayInOneLineWhatIsWrong) {
    const std::string notAPort = " is not a port, a number from 1 to 65535";
    const std::pair<std::vector<const char*>, std::string> cases[] = {
        {{}, "-1 [|]"},
        {{"--window"}, "0 [|]"},
        {{"--reset-settings", "--fullscreen"}, "1 reset [|]"},
        {{"--bogus", "-h"}, "help"},
        {{"--version", "--window=1"}, "version"},
        {{"--window", "--fullscreen"}, "--window and --fullscreen do not go together"},
        {{"--window", "-window"}, "unknown option: -window"},
        {{"stray"}, "stray is not an option"},
        {{"--window=1"}, "--window takes no value"},
        {{"--replay", "-.rep", "--window"}, "0 [|-.rep]"},
        {{"--record=a b"}, "-1 [a b|]"},
        {{"--record", "a", "--record=b"}, "--record is given twice"},
        {{"--record", "a", "--replay", "-.rep"}, "--record and --replay do not go together"},
        {{"--record", "--replay", "x"}, "--record needs a file"},
        {{"--replay", ""}, "--replay needs a file"},
        {{"--host"}, "-1 [|] host:24680"},
        {{"--host", "9000", "--window"}, "0 [|] host:9000"},
        {{"--host=9000"}, "-1 [|] host:9000"},
        {{"--host", "abc"}, "--host: abc" + notAPort},
        {{"--host", "70000"}, "--host: 70000" + notAPort},
        {{"--join", "example.org:7000"}, "-1 [|] join example.org:7000"},
        // An IPv6 address is left whole, for the network to judge.
        {{"--join=::1"}, "-1 [|] join ::1:24680"},
        {{"--join", "a:0"}, "--join: 0" + notAPort},
        {{"--join", "--window"}, "--join needs a host"},
        {{"--host", "--join", "a"}, "--host and --join do not go together"},
        {{"--replay", "x", "--join", "a"}, "--replay and --join do not go together"}};
    for (const auto& [words, parsed] : cases) {
        EXPECT_EQ(Parsed(words), parsed);
    }
}
