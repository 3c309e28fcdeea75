// A replay played, not only read: whatever file the reader accepts (sealed as a writer would, so that the
// fuzzer gets past the check against damage), the headless game plays its first seconds, past its last
// frame when it is that short, without a fault.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <string>

#include "fuzz/FuzzInput.h"
#include "gfx/Display.h"
#include "gfx/Maths.h"
#include "input/Input.h"
#include "shell/XAppData.h"
#include "shell/XMatchInput.h"
#include "shell/XReplay.h"

namespace {

// Frames kept from the replay, and played at most: a fraction of a second of the fuzzer's time each.
constexpr size_t kReplayFrames = 200;
constexpr uint32_t kPlayedFrames = 260;

bool SetUp() {
    std::string home = "/tmp/tintorix-fuzz-playback-" + std::to_string(getpid());
    setenv("XDG_CONFIG_HOME", home.c_str(), 1);
    SetDisplayDeviceFactory(nullptr);
    SetInputPlatform(HeadlessInputPlatform());
    BuildDirectionTables();
    return CreateDisplay(nullptr) && CreateDisplaySurfaces() && InitPalette(102) &&
           CreateInput(nullptr, nullptr);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const bool ready = SetUp();
    static const std::string path = "/tmp/tintorix-fuzz-playback-" + std::to_string(getpid()) + ".rep";
    if (!ready) {
        __builtin_trap();
    }
    std::string bytes(reinterpret_cast<const char*>(data), size);
    std::string sealed = FuzzInput::Sealed(bytes);
    XReplay replay;
    if (!replay.Parse(sealed).empty() && !replay.Parse(bytes).empty()) {
        return 0;
    }
    if (replay.frames.size() > kReplayFrames) {
        replay.frames.resize(kReplayFrames);
    }
    {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out << replay.Format();
    }
    XAppData app;
    app.displayDevice = GetDisplayDevice();
    XMatchInput* matchInput = app.GetMatchInput();
    matchInput->programName = "fuzz";
    if (!matchInput->LoadReplay(path, app.GetMenuSettings()).empty()) {
        __builtin_trap();
    }
    app.sceneState = XAppData::kCreateRound;
    app.UpdateFrame();
    for (uint32_t frame = 0; frame < kPlayedFrames && app.sceneState == XAppData::kRunRound; ++frame) {
        app.UpdateFrame();
    }
    app.DestroyScenes();
    return 0;
}
