#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "gfx/Display.h"
#include "input/Input.h"
#include "shell/XAppData.h"
#include "support/FakeMachine.h"

// Bytes of a bitmap resource (BMP without its file header): 8 bits, 256 colours (all black), bottom
// row first. pixel(x, y) gives the palette index of the picture's pixel, y counted from the top.
std::vector<uint8_t> MakeBitmapResource(int width, int height, const std::function<uint8_t(int, int)>& pixel);
// Installs a test bitmap resource under id; the fake machine removes it again.
void InstallBitmap(uint32_t id, int width, int height, const std::function<uint8_t(int, int)>& pixel);
// A file's bytes, "" when it cannot be read.
std::string ReadFile(const std::string& path);
// Counts the pixels of a surface rectangle that hold index.
int CountPixels(const Surface& surface, const Rect& area, uint8_t index);

// A configuration directory of its own for one test; XDG_CONFIG_HOME points at it while it lives.
class TempConfigDir {
public:
    TempConfigDir();
    ~TempConfigDir();
    const std::string& Path() const { return path; }
    std::string RegistryFile() const { return path + "/KovraGames/Tintorix/registry.reg"; }

private:
    std::string path;
    std::string previous;
};

// A started game without its message loop, as the shell's start-up leaves it before the first frame:
// the fake machine, a configuration directory of its own, window, display, sounds and input, and the
// application object; direction tables built and random numbers seeded with 1. No scene is due.
class GameTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    static Surface* Back() { return GetBackSurface(); }
    // One frame of the game's loop, 40 ms on.
    void Frame() { machine.now += 40; RunFrame(*app); }
    static void Press(int scanCode) { KeyboardEvent(scanCode, true); }
    static void Release(int scanCode) { KeyboardEvent(scanCode, false); }
    static void Tap(int scanCode) { Press(scanCode); Release(scanCode); }
    template <typename Scene>
    static void Frames(Scene& scene, int count) { for (int i = 0; i < count; ++i) scene.UpdateFrame(); }
    // A key down for one frame and up again for the next: two frames.
    template <typename Scene>
    static void PressFor(Scene& scene, int scanCode) {
        Press(scanCode);
        scene.UpdateFrame();
        Release(scanCode);
        scene.UpdateFrame();
    }
    // How often the sound effect was started.
    int Played(int32_t id) const {
        return machine.audio ? static_cast<int>(
                                   std::count(machine.audio->played.begin(), machine.audio->played.end(), id))
                             : 0;
    }

    TempConfigDir config;  // before the application object, which loads its table from there
    FakeMachine machine;
    std::unique_ptr<XAppData> app;
};
