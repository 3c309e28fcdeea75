// The name entry fed arbitrary key presses and releases, frame by frame: the name never outgrows its
// field and holds only what the fonts can draw.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>

#include "gfx/Display.h"
#include "input/Input.h"
#include "scenes/XInputText.h"
#include "shell/XAppData.h"

namespace {

XAppData* StartHeadless() {
    // The table is read from, never written to, a configuration of its own.
    setenv("XDG_CONFIG_HOME", "/tmp/tintorix-fuzz-config", 1);
    CreateDisplay(nullptr);
    CreateDisplaySurfaces();
    InitPalette(102);
    SetInputPlatform(HeadlessInputPlatform());
    CreateInput(nullptr, nullptr);
    return new XAppData;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static XAppData* app = StartHeadless();
    if (size < 2) {
        return 0;
    }
    XInputText entry(app);
    entry.SetSurface(GetBackSurface());
    entry.SetPrompt(ZString("ENTER YOUR NAME"));
    entry.CentreOnScreen();
    int32_t limit = data[0] % 16;
    entry.SetText(ZString("KOVRA GAMES"), limit);
    entry.Begin();
    // Byte pairs: a scan code and a press (odd) or release, or typed text (even, the byte as a character);
    // a zero code ends the frame.
    for (size_t i = 1; i + 1 < size && !entry.IsDone(); i += 2) {
        if (data[i] != 0) {
            const char text[2] = {static_cast<char>(data[i]), 0};
            data[i + 1] & 2 ? TextEvent(text) : KeyboardEvent(data[i], data[i + 1] & 1);
            continue;
        }
        entry.Update();
        entry.Draw();
        const ZString& text = entry.GetText();
        if (text.GetLength() > limit) {
            __builtin_trap();
        }
        for (int c = 0; c < text.GetLength(); ++c) {
            char k = text.GetBuffer()[c];
            if (!((k >= 'A' && k <= 'Z') || (k >= '0' && k <= '9') || k == '-' || k == '.' || k == ' ')) {
                __builtin_trap();
            }
        }
    }
    FlushTypedKeys();
    app->hotKeysEnabled = true;
    return 0;
}
