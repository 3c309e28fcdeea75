#include "support/TestSupport.h"

#include <cstdlib>
#include <cstring>
#include <filesystem>

#include "base/Resources.h"
#include "gfx/Display.h"
#include "gfx/Maths.h"
#include "input/Input.h"
#include "shell/Shell.h"

void FillTestPalette(uint8_t* table) {
    for (int i = 0; i < 256; ++i) {
        table[i * 4 + 0] = static_cast<uint8_t>(i / 2);
        table[i * 4 + 1] = static_cast<uint8_t>(255 - i);
        table[i * 4 + 2] = static_cast<uint8_t>(i);
        table[i * 4 + 3] = 0;
    }
    std::memset(table, 0, 4);
    std::memset(table + 255 * 4, 255, 3);
}

std::vector<uint8_t> MakeBitmapResource(int width, int height,
                                        const std::function<uint8_t(int, int)>& pixel) {
    int pitch = (width + 3) & ~3;
    std::vector<uint8_t> bytes(40 + 1024 + static_cast<size_t>(pitch) * height, 0);
    auto put32 = [&](size_t at, uint32_t value) {
        for (int i = 0; i < 4; ++i) {
            bytes[at + i] = static_cast<uint8_t>(value >> (8 * i));
        }
    };
    put32(0, 40);
    put32(4, static_cast<uint32_t>(width));
    put32(8, static_cast<uint32_t>(height));
    bytes[12] = 1;
    bytes[14] = 8;
    FillTestPalette(bytes.data() + 40);
    for (int y = 0; y < height; ++y) {
        uint8_t* row = bytes.data() + 1064 + static_cast<size_t>(height - 1 - y) * pitch;
        for (int x = 0; x < width; ++x) {
            row[x] = pixel(x, y);
        }
    }
    return bytes;
}

void InstallBitmap(uint32_t id, int width, int height, const std::function<uint8_t(int, int)>& pixel) {
    OverrideResource(ResourceType::Bitmap, id, MakeBitmapResource(width, height, pixel));
}

int CountPixels(const Surface& surface, const Rect& area, uint8_t index) {
    int count = 0;
    for (int y = area.top; y < area.bottom; ++y) {
        for (int x = area.left; x < area.right; ++x) {
            count += surface.GetPixel(x, y) == index;
        }
    }
    return count;
}

void HeadlessTest::SetUp() {
    fakeMachine = std::make_unique<FakeMachine>();
    ASSERT_NE(CreateDisplay(nullptr), nullptr);
    SetDisplayFlags(kDisplayFullScreen | kDisplayExclusive);
    ASSERT_TRUE(CreateDisplaySurfaces());
    if (!InitPalette(102)) {
        InstallBitmap(102, 6, 6, [](int, int) { return 0; });
        ASSERT_TRUE(InitPalette(102));
        ClearResourceOverrides();
    }
    ASSERT_TRUE(CreateInput(nullptr, nullptr));
    BuildDirectionTables();
    SeedRandomWith(1);
}

void HeadlessTest::TearDown() {
    ReleaseInput();
    ReleaseDisplaySurfaces();
    ReleaseDisplay();
    ClearResourceOverrides();
    fakeMachine.reset();
}

Surface* HeadlessTest::Back() {
    return GetBackSurface();
}

void HeadlessTest::Press(int scanCode) {
    KeyboardEvent(scanCode, true);
}

void HeadlessTest::Release(int scanCode) {
    KeyboardEvent(scanCode, false);
}

TempConfigDir::TempConfigDir() {
    char pattern[] = "/tmp/tintorix-config-XXXXXX";
    path = mkdtemp(pattern);
    const char* old = std::getenv("XDG_CONFIG_HOME");
    hadPrevious = old != nullptr;
    previous = old ? old : "";
    setenv("XDG_CONFIG_HOME", path.c_str(), 1);
}

TempConfigDir::~TempConfigDir() {
    if (hadPrevious) {
        setenv("XDG_CONFIG_HOME", previous.c_str(), 1);
    } else {
        unsetenv("XDG_CONFIG_HOME");
    }
    std::error_code ignored;
    std::filesystem::permissions(path, std::filesystem::perms::owner_all, ignored);
    std::filesystem::remove_all(path, ignored);
}

std::string TempConfigDir::RegistryFile() const {
    return path + "/KovraGames/Tintorix/registry.reg";
}

void GameTest::SetUp() {
    app = std::make_unique<XAppData>();
    ASSERT_TRUE(StartGame(*app, nullptr));
    ASSERT_FALSE(IsQuitPosted());
    // Tests build the scenes they need themselves: none is due yet.
    app->sceneState = XAppData::kBeforeStart;
}

void GameTest::TearDown() {
    app.reset();
    ReleaseInput();
    ReleaseDisplaySurfaces();
    ReleaseDisplay();
}
