#include <cmath>
#include <filesystem>
#include <fstream>

#include "gfx/Pictures.h"
#include "input/Input.h"
#include "shell/Options.h"
#include "base/ZWinReg.h"
#include "shell/XSettings.h"
#include "support/TestSupport.h"

// The settings as numbers, in the order the file names them.
static std::vector<int> Fields(const XSettings& s) {
    std::vector<int> fields = {s.window.fullScreen, s.window.width, s.window.height, s.window.x,
                               s.window.y,          s.musicVolume,  s.effectsVolume, s.playerColours};
    for (const auto& keys : s.steeringKeys) fields.insert(fields.end(), keys, keys + 2);
    return fields;
}

// The settings file in a fresh configuration folder, its folder made.
static std::string SettingsFile(const TempConfigDir& config) {
    const std::string file = config.Path() + "/KovraGames/Tintorix/Settings/registry.reg";
    std::filesystem::create_directories(std::filesystem::path(file).parent_path());
    return file;
}

static const char kHeader[] =
    "Windows Registry Editor Version 5.00\n\n[HKEY_CURRENT_USER\\Software\\KovraGames\\Tintorix\\Settings]\n";

TEST(XSettingsTest, ValuesReadInRangeOrAsTheDefaultsAndSurviveASave) {
    TempConfigDir config;
    const std::string file = SettingsFile(config);
    std::ofstream(file)
        << kHeader
        << "\"FullScreen\"=\"0\"\n\"WindowWidth\"=\"639\"\n\"WindowHeight\"=\"600\"\n"
           "\"WindowX\"=\"-20\"\n\"WindowY\"=\"7x\"\n\"MusicVolume\"=\"0\"\n\"EffectsVolume\"="
           "\"0000000050\"\n"
           "; my keys\n\"Player1Left\"=\"30\"\n\"Player1Right\"=\"32\"\n\"Player2Left\"=\"256\"\n"
           "\"Player3Left\"=\"50\"\n\"Player3Right\"=\"50\"\n\"PlayerColours\"=\"1\"\n\"Mine\"=dword:1\n"
           "[HKEY_CURRENT_USER\\Software\\Other]\n\"X\"=\"1\"\n";
    XSettings settings;
    settings.Load();
    const int unset = WindowPlacement::kUnset;
    // A pair of one key for both ways keeps the default pair.
    std::vector<int> read = {0,  unset, 600,   -20,   unset, 0,     100,      1,
                             30, 32,    kKeyZ, kKeyX, kKeyN, kKeyM, kKeyPad4, kKeyPad6};
    EXPECT_EQ(Fields(settings), read);
    settings.window.x = read[3] = 33;  // the window moved
    settings.window.y = read[4] = 44;
    settings.steeringKeys[0][1] = read[9] = 31;  // so was player 1's key, which the file names
    settings.Save();
    // What the user wrote stays; each value keeps its line, and new ones join their key.
    const std::string text = ReadFile(file);
    for (const char* kept : {"; my keys\n", "\"Mine\"=dword:1\n", "[HKEY_CURRENT_USER\\Software\\Other]\n\"X\"=\"1\"\n"})
        EXPECT_NE(text.find(kept), std::string::npos) << kept;
    EXPECT_LT(text.find("\"WindowX\"=\"33\""), text.find("; my keys"));
    EXPECT_LT(text.find("\"Player4Right\"=\"77\""), text.find("[HKEY_CURRENT_USER\\Software\\Other]"));
    XSettings again;
    again.Load();
    EXPECT_EQ(Fields(again), read);
    // A file whose notes would grow it past what reads back loses the notes, not the values.
    std::ofstream(file, std::ios::app) << std::string(ZWinReg::kMaxFileBytes - text.size() - 2, ';') << "\n";
    again.window.x = 1234;
    again.Save();
    XSettings big;
    big.Load();
    EXPECT_EQ(big.window.x, 1234);
    again.SetDefaults();
    EXPECT_EQ(Fields(again), (std::vector<int>{1, unset, unset, unset, unset, 100, 100, 0, kKeyLeft,
                                               kKeyRight, kKeyZ, kKeyX, kKeyN, kKeyM, kKeyPad4, kKeyPad6}));
    // Whose a key is, but for the one asking: player 4 on the keypad turns with the number row's 4 and 6 too.
    const std::pair<int, int> owners[] = {{kKeyLeft, 0}, {kKeyRight, 0}, {kKeyX, 1}, {kKeyM, 2},
                                          {kKeyPad6, 3}, {kKey4, 3},     {kKey6, 3}, {30, -1}};
    for (auto [key, owner] : owners)
        EXPECT_EQ(std::pair(again.KeyOwner(key, -1), again.KeyOwner(key, owner)), std::pair(owner, -1))
            << key;
}

TEST(XSettingsTest, EachValueReadsAtTheEdgesOfItsRangeAndAsItsDefaultPastThem) {
    TempConfigDir config;
    const std::string file = SettingsFile(config);
    const std::vector<int> defaults = Fields(XSettings());
    // A line of the file; which field it sets (-1 none) and to what.
    // clang-format off
    const std::tuple<std::string, int, int> cases[] = {
        {"\"FullScreen\"=\"0\"", 0, 0}, {"\"FullScreen\"=\"2\"", -1, 0}, {"\"WindowWidth\"=\"640\"", 1, 640},
        {"\"WindowWidth\"=\"16384\"", 1, 16384}, {"\"WindowWidth\"=\"16385\"", -1, 0},
        {"\"WindowHeight\"=\"480\"", 2, 480}, {"\"WindowHeight\"=\"479\"", -1, 0},
        {"\"WindowHeight\"=\"16385\"", -1, 0}, {"\"WindowX\"=\"-32768\"", 3, -32768},
        {"\"WindowX\"=\"-32769\"", -1, 0}, {"\"WindowX\"=\"32768\"", -1, 0}, {"\"WindowY\"=\"32767\"", 4, 32767},
        {"\"WindowY\"=\"32768\"", -1, 0}, {"\"WindowY\"=\"-32769\"", -1, 0}, {"\"WindowY\"=\"\"", -1, 0}, {"\"WindowY\"=\" 5\"", 4, 5},
        {"\"MusicVolume\"=\"101\"", -1, 0}, {"\"MusicVolume\"=\"-1\"", -1, 0},
        {"\"EffectsVolume\"=\"000000007\"", 6, 7}, {"\"EffectsVolume\"=\"5%\"", -1, 0},
        {"\"PlayerColours\"=\"1\"", 7, 1}, {"\"PlayerColours\"=\"2\"", -1, 0},
        {"\"Player4Left\"=\"1\"", 14, 1}, {"\"Player4Right\"=\"255\"", 15, 255},
        {"\"Player2Right\"=\"0\"", -1, 0}, {"\"Player3Left\"=\"256\"", -1, 0},
        {"\"Player1Left\"=dword:00000020", -1, 0}, {"\"MusicVolume\"=\"5", -1, 0}};
    // clang-format on
    for (const auto& [line, field, value] : cases) {
        std::ofstream(file) << kHeader << line << "\n";
        XSettings settings;
        settings.Load();
        std::vector<int> want = defaults;
        if (field >= 0)
            want[field] = value;
        EXPECT_EQ(Fields(settings), want) << line;
    }
    // Files that are no settings at all read as the defaults, and the next save makes them whole again.
    const std::string damaged[] = {
        "", std::string("\0\xff\xfe\x01", 4) + "\"MusicVolume\"=\"5\"",
        "\"MusicVolume\"=\"5\"\n",
        "Windows Registry Editor Version 5.00\n\n[HKEY_CURRENT_USER\\Software\\KovraGames\\Tintorix]\n"
        "\"MusicVolume\"=\"5\"\n",
        std::string(kHeader).substr(0, sizeof kHeader - 3) + "\n\"MusicVolume\"=\"5\"\n",
        std::string(ZWinReg::kMaxFileBytes + 1, ';')};
    for (const std::string& text : damaged) {
        std::ofstream(file, std::ios::binary | std::ios::trunc) << text;
        XSettings settings;
        settings.musicVolume = 5;
        settings.SetDefaults();
        settings.Load();
        EXPECT_EQ(Fields(settings), defaults) << text.substr(0, 40);
        settings.effectsVolume = 9;
        ASSERT_TRUE(settings.Save());
        XSettings again;
        again.Load();
        EXPECT_EQ(again.effectsVolume, 9) << text.substr(0, 40);
    }
    // A directory where the file goes reads as the defaults and is put aside by the save; a file where
    // the directory goes makes the save say it failed.
    std::filesystem::remove(file);
    std::filesystem::create_directory(file);
    XSettings settings;
    settings.Load();
    EXPECT_EQ(Fields(settings), defaults);
    EXPECT_TRUE(settings.Save() && std::filesystem::is_directory(file + ".bad"));
    const std::string folder = std::filesystem::path(file).parent_path();
    std::filesystem::remove_all(folder);
    std::ofstream(folder) << "not a directory";
    EXPECT_FALSE(settings.Save());
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
    words.push_back(nullptr);  // as main's argv ends
    Options o = ParseOptions(static_cast<int>(words.size()) - 1, words.data());
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
        {{}, "-1 [|]"}, {{"--window"}, "0 [|]"},
        {{"--reset-settings", "--fullscreen"}, "1 reset [|]"}, {{"--bogus", "-h"}, "help"},
        {{"--version", "--window=1"}, "version"},
        {{"--window", "--fullscreen"}, "--window and --fullscreen do not go together"},
        {{"stray"}, "stray is not an option"}, {{"--window=1"}, "--window takes no value"},
        {{"--replay", "-.rep", "--window"}, "0 [|-.rep]"}, {{"--record=a b"}, "-1 [a b|]"},
        {{"--record", "a", "--record=b"}, "--record is given twice"},
        {{"--record", "a", "--replay", "-.rep"}, "--record and --replay do not go together"},
        {{"--record", "--replay", "x"}, "--record needs a file"}, {{"--replay", ""}, "--replay needs a file"},
        {{"--host"}, "-1 [|] host:24680"}, {{"--host", "9000", "--window"}, "0 [|] host:9000"},
        {{"--host=9000"}, "-1 [|] host:9000"}, {{"--host", "abc"}, "--host: abc" + notAPort},
        {{"--join", "example.org:7000"}, "-1 [|] join example.org:7000"},
        {{"--join", "a:0"}, "--join: 0" + notAPort}, {{"--join", "--window"}, "--join needs a host"},
        {{"--host", "--join", "a"}, "--host and --join do not go together"},
        {{"--replay", "x", "--join", "a"}, "--replay and --join do not go together"},
        {{"--replay", "x", "--host"}, "--replay and --host do not go together"},
        {{"-"}, "- is not an option"}, {{"--window", ""}, "an empty word is not an option"},
        // An empty word after an option whose value may be left out is no value.
        {{"--host", ""}, "an empty word is not an option"}, {{"--host="}, "--host needs a port"},
        {{"--host", "65535"}, "-1 [|] host:65535"}, {{"--host", "00080"}, "-1 [|] host:80"},
        {{"--host", "65536"}, "--host: 65536" + notAPort}, {{"--join", "a:"}, "--join: " + notAPort},
        {{"--join", "a:1"}, "-1 [|] join a:1"},
        // An IPv6 address is left whole, for the network to judge.
        {{"--join", "fe80::1:2"}, "-1 [|] join fe80::1:2:24680"}, {{"-x=1"}, "unknown option: -x=1"}};
    for (const auto& [words, parsed] : cases) EXPECT_EQ(Parsed(words), parsed);
}

// The smallest CIE76 difference between the four paint colours as the palette shows them, seen through a
// view (Machado 2009, full severity, on linear RGB).
static double SmallestPaintDifference(const PaletteEntry* palette, const std::array<double, 9>& view) {
    // Linear RGB to XYZ over the D65 white.
    // clang-format off
    const double xyz[9] = {0.4124 / 0.95047, 0.3576 / 0.95047, 0.1805 / 0.95047,
                           0.2126, 0.7152, 0.0722, 0.0193 / 1.08883, 0.1192 / 1.08883, 0.9505 / 1.08883};
    // clang-format on
    const uint16_t brushes[4] = {110, 116, 112, 113};  // their middle pixel is the paint
    double lab[4][3], smallest = 1e9;
    for (int p = 0; p < 4; ++p) {
        const PaletteEntry& entry = palette[FindPicture(brushes[p])->GetPixel(16, 16)];
        double rgb[3] = {entry.red / 255.0, entry.green / 255.0, entry.blue / 255.0}, f[3];
        for (double& v : rgb) v = v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
        for (int r = 0; r < 3; ++r) {
            double t = 0;
            for (int c = 0; c < 3; ++c) {
                const double* row = &view[3 * c];
                t += xyz[3 * r + c] *
                     std::clamp(row[0] * rgb[0] + row[1] * rgb[1] + row[2] * rgb[2], 0.0, 1.0);
            }
            f[r] = t > 216.0 / 24389 ? std::cbrt(t) : t * 841 / 108 + 4.0 / 29;
        }
        // Lightness without its offset, which no difference sees.
        std::tie(lab[p][0], lab[p][1], lab[p][2]) =
            std::tuple(116 * f[1], 500 * (f[0] - f[1]), 200 * (f[1] - f[2]));
        for (int q = 0; q < p; ++q)
            smallest = std::min(
                smallest, std::hypot(lab[p][0] - lab[q][0], lab[p][1] - lab[q][1], lab[p][2] - lab[q][2]));
    }
    return smallest;
}

using XSettingsColoursTest = GameTest;

TEST_F(XSettingsColoursTest, TheColourBlindTableKeepsEveryTwoPlayersFortyApartInEveryView) {
    // Normal vision, protanopia, deuteranopia, tritanopia; the original colours' smallest differences:
    // orange and green alike without red or green cones, orange and pink without blue ones.
    const std::tuple<std::array<double, 9>, double> views[] = {
        {{1, 0, 0, 0, 1, 0, 0, 0, 1}, 70.8},
        {{0.152286, 1.052583, -0.204868, 0.114503, 0.786281, 0.099216, -0.003882, -0.048116, 1.051998}, 10.2},
        {{0.367322, 0.860646, -0.227968, 0.280085, 0.672501, 0.047413, -0.011820, 0.042940, 0.968881}, 26.4},
        {{1.255528, -0.076749, -0.178779, -0.078411, 0.930809, 0.147602, 0.004733, 0.691367, 0.303900},
         17.2}};
    XSettings& settings = *app->GetSettings();
    for (int colours : {XSettings::kColoursOriginal, XSettings::kColoursTellApart}) {
        settings.playerColours = colours;
        ASSERT_TRUE(InitPalette(settings.PaletteBitmap()));
        for (const auto& [view, known] : views) {
            double smallest = SmallestPaintDifference(GetPalette(), view);
            bool original = colours == XSettings::kColoursOriginal;
            EXPECT_TRUE(original ? std::abs(smallest - known) < 0.1 : smallest >= 40) << colours << smallest;
        }
    }
}
