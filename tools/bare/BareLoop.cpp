// tintorix-bare: the floor under the game's costs on a display. It makes the window and presents a
// 640 x 480 picture of palette indices 25 times a second exactly as the game does (the same window,
// renderer, texture and conversion through the palette, the same event pump and sleeps), and does
// nothing else: no scenes, no sound, no input but the request to quit. tools/measure.sh sets its
// figures beside the game's.

#include <cstdio>
#include <cstring>
#include <memory>

#include "gfx/Display.h"
#include "gfx/Surface.h"
#include "platform/SdlDisplayDevice.h"
#include "platform/SdlShell.h"
#include "shell/Shell.h"
#include "shell/WindowPlacement.h"

namespace {

constexpr int kWidth = 640;
constexpr int kHeight = 480;
constexpr uint32_t kFrameInterval = 40;

}  // namespace

int main() {
    InstallQuitSignals();
    ShellPlatform shell = MakeSdlShellPlatform();
    if (!shell.registerWindowClass()) {
        std::fprintf(stderr, "tintorix-bare: no display\n");
        return 1;
    }
    shell.showCursor(false);
    void* window = shell.createWindow(WindowPlacement{});
    std::unique_ptr<DisplayDevice> device = window ? SdlDisplayDevice::Create(window) : nullptr;
    std::unique_ptr<Surface> back = Surface::Create(kWidth, kHeight);
    if (!device || !back || !device->SetMode(kWidth, kHeight, 8, kDisplayFullScreen | kDisplayExclusive)) {
        std::fprintf(stderr, "tintorix-bare: no window or renderer\n");
        return 1;
    }
    PaletteEntry palette[256];
    for (int i = 0; i < 256; ++i) {
        palette[i] = PaletteEntry{static_cast<uint8_t>(i), static_cast<uint8_t>(255 - i),
                                  static_cast<uint8_t>(i / 2), 0};
    }
    for (int y = 0; y < kHeight; ++y) {
        std::memset(back->Row(y), y & 0xFF, kWidth);
    }
    // The game's pacing: every waiting message first, a frame when one is due, then sleep until the next.
    uint32_t last = shell.frameClock() - kFrameInterval;
    for (;;) {
        ShellMessage message;
        if (shell.peekMessage(&message)) {
            if (message.message == kWmDestroy) {
                break;
            }
            continue;
        }
        if (shell.frameClock() - last >= kFrameInterval) {
            last = shell.frameClock();
            device->Present(*back, palette);
        }
        uint32_t elapsed = shell.frameClock() - last;
        if (elapsed < kFrameInterval) {
            shell.sleep(kFrameInterval - elapsed);
        }
    }
    device.reset();
    DestroyMainWindow();
    return 0;
}
