// The replay reader, on the bytes as they come and sealed with the hash a writer would give them, so that
// the fuzzer gets past the check against damage; and a round trip of whatever it accepted.
#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz/FuzzInput.h"
#include "shell/XReplay.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string bytes(reinterpret_cast<const char*>(data), size);
    std::string sealed = FuzzInput::Sealed(bytes);
    for (const std::string& file : {bytes, sealed}) {
        XReplay replay;
        if (replay.Parse(file).empty()) {
            // What the reader accepted, it reads back the same from what the writer wrote.
            std::string written = replay.Format();
            XReplay again;
            if (!again.Parse(written).empty() || again.Format() != written || again.frames != replay.frames) {
                __builtin_trap();
            }
        }
    }
    return 0;
}
