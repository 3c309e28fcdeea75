// The registry file reader, and a round trip of whatever it accepted.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "base/ZWinReg.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string_view text(reinterpret_cast<const char*>(data), size);
    const char* key = "Software\\KovraGames\\Tintorix";
    auto values = ZWinReg::ParseRegistryText(text, key);
    std::string written = ZWinReg::FormatRegistryText(values, key);
    auto again = ZWinReg::ParseRegistryText(written, key);
    // What the writer wrote, the reader reads back the same.
    if (again.size() != values.size()) {
        __builtin_trap();
    }
    for (size_t i = 0; i < values.size(); ++i) {
        if (again[i].name != values[i].name || again[i].isString != values[i].isString ||
            again[i].data != values[i].data) {
            __builtin_trap();
        }
    }
    return 0;
}
