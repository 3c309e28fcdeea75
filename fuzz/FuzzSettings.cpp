// The settings as the registry file holds them, whatever it holds: every value read is within its range,
// the window fits a desktop, and what is saved loads back the same.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "base/ZWinReg.h"
#include "gfx/Rect.h"
#include "shell/XSettings.h"

namespace {

void Check(bool holds) {
    if (!holds) {
        __builtin_trap();
    }
}

bool Within(int value, int low, int high) {
    return value >= low && value <= high;
}

bool Same(const XSettings& a, const XSettings& b) {
    for (int player = 0; player < 4; ++player) {
        if (a.steeringKeys[player][0] != b.steeringKeys[player][0] ||
            a.steeringKeys[player][1] != b.steeringKeys[player][1]) {
            return false;
        }
    }
    return a.window.fullScreen == b.window.fullScreen && a.window.x == b.window.x &&
           a.window.y == b.window.y && a.window.width == b.window.width &&
           a.window.height == b.window.height && a.musicVolume == b.musicVolume &&
           a.effectsVolume == b.effectsVolume && a.playerColours == b.playerColours;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const std::string file = [] {
        std::string root = "/tmp/tintorix-fuzz-settings-" + std::to_string(getpid());
        setenv("XDG_CONFIG_HOME", root.c_str(), 1);
        std::string path = ZWinReg::RegistryFilePath(XSettings::kRegistryKey);
        std::filesystem::create_directories(std::filesystem::path(path).parent_path());
        return path;
    }();
    {
        std::ofstream out(file, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    }
    XSettings settings;
    settings.Load();
    const WindowPlacement& window = settings.window;
    auto sizeOk = [](int value, int low) {
        return value == WindowPlacement::kUnset || Within(value, low, 16384);
    };
    auto placeOk = [](int value) { return value == WindowPlacement::kUnset || Within(value, -32768, 32767); };
    Check(sizeOk(window.width, WindowPlacement::kMinWidth) &&
          sizeOk(window.height, WindowPlacement::kMinHeight));
    Check(placeOk(window.x) && placeOk(window.y));
    Check(Within(settings.musicVolume, 0, 100) && Within(settings.effectsVolume, 0, 100));
    Check(Within(settings.playerColours, XSettings::kColoursOriginal, XSettings::kColoursTellApart));
    for (const auto& keys : settings.steeringKeys) {
        Check(Within(keys[0], 1, 255) && Within(keys[1], 1, 255) && keys[0] != keys[1]);
    }
    Rect usable{0, 0, 1920, 1080};
    Rect fitted = window.FittedTo(usable);
    Check(fitted.right - fitted.left >= WindowPlacement::kMinWidth && fitted.left >= 0 &&
          fitted.right <= 1920);
    if (settings.Save()) {
        XSettings again;
        again.Load();
        Check(Same(settings, again));
    }
    return 0;
}
