#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "gfx/Surface.h"

// Bytes of a bitmap resource (BMP without its file header): 8 bits, 256 colours, bottom row first.
// pixel(x, y) gives the palette index of the picture's pixel, y counted from the top.
std::vector<uint8_t> MakeBitmapResource(int width, int height, const std::function<uint8_t(int, int)>& pixel);
// A colour table with entry i = (i, 255 - i, i / 2), but 0 black and 255 white.
void FillTestPalette(uint8_t* table1024);

// Installs a test bitmap resource under id.
void InstallBitmap(uint32_t id, int width, int height, const std::function<uint8_t(int, int)>& pixel);

// Counts the pixels of a surface rectangle that hold index.
int CountPixels(const Surface& surface, const Rect& area, uint8_t index);

// A fresh headless display (640 x 480 back surface, palette from bitmap 102) and input devices.
class HeadlessTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    Surface* Back();
    // Presses or releases a key on the keyboard device.
    static void Press(int scanCode);
    static void Release(int scanCode);
};

// A configuration directory of its own for one test; XDG_CONFIG_HOME points at it while it lives.
class TempConfigDir {
public:
    TempConfigDir();
    ~TempConfigDir();
    const std::string& Path() const { return path; }
    std::string RegistryFile() const;

private:
    std::string path;
    std::string previous;
    bool hadPrevious;
};
