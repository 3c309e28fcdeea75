#include "support/TestSupport.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "base/Resources.h"
#include "shell/Shell.h"

namespace {

// No test may read or write the real user's high scores or lock files.
class IsolatedEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        char pattern[] = "/tmp/tintorix-tests-XXXXXX";
        root = mkdtemp(pattern);
        setenv("XDG_CONFIG_HOME", (root + "/config").c_str(), 1);
        setenv("XDG_RUNTIME_DIR", root.c_str(), 1);
        setenv("HOME", root.c_str(), 1);
    }
    void TearDown() override { std::filesystem::remove_all(root); }

private:
    std::string root;
};

const auto* const environment = ::testing::AddGlobalTestEnvironment(new IsolatedEnvironment);

}  // namespace

std::vector<uint8_t> MakeBitmapResource(int width, int height,
                                        const std::function<uint8_t(int, int)>& pixel) {
    int pitch = (width + 3) & ~3;
    std::vector<uint8_t> bytes(40 + 1024 + static_cast<size_t>(pitch) * height, 0);
    const uint32_t header[3] = {40, static_cast<uint32_t>(width), static_cast<uint32_t>(height)};
    for (int i = 0; i < 12; ++i) bytes[i] = static_cast<uint8_t>(header[i / 4] >> (8 * (i % 4)));
    bytes[12] = 1;  // planes
    bytes[14] = 8;  // bits per pixel
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x)
            bytes[1064 + static_cast<size_t>(height - 1 - y) * pitch + x] = pixel(x, y);
    }
    return bytes;
}

void InstallBitmap(uint32_t id, int width, int height, const std::function<uint8_t(int, int)>& pixel) {
    OverrideResource(ResourceType::Bitmap, id, MakeBitmapResource(width, height, pixel));
}

std::string ReadFile(const std::string& path) {
    std::stringstream text;
    text << std::ifstream(path, std::ios::binary).rdbuf();
    return text.str();
}

int CountPixels(const Surface& surface, const Rect& area, uint8_t index) {
    int count = 0;
    for (int y = area.top; y < area.bottom; ++y)
        for (int x = area.left; x < area.right; ++x) count += surface.GetPixel(x, y) == index;
    return count;
}

TempConfigDir::TempConfigDir() {
    const char* old = std::getenv("XDG_CONFIG_HOME");
    previous = old ? old : "";
    char pattern[] = "/tmp/tintorix-config-XXXXXX";
    path = mkdtemp(pattern);
    setenv("XDG_CONFIG_HOME", path.c_str(), 1);
}

TempConfigDir::~TempConfigDir() {
    previous.empty() ? unsetenv("XDG_CONFIG_HOME") : setenv("XDG_CONFIG_HOME", previous.c_str(), 1);
    std::error_code ignored;
    std::filesystem::permissions(path, std::filesystem::perms::owner_all, ignored);
    std::filesystem::remove_all(path, ignored);
}

void GameTest::SetUp() {
    app = std::make_unique<XAppData>();
    ASSERT_TRUE(StartGame(*app, nullptr));
    app->LoadSounds();
    ASSERT_FALSE(IsQuitPosted());
    app->sceneState = XAppData::kBeforeStart;
}

void GameTest::TearDown() {
    app.reset();
    ReleaseInput();
    ReleaseDisplaySurfaces();
    ReleaseDisplay();
}
