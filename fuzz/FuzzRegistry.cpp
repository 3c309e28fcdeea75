// The registry file reader, and a round trip of whatever it accepted, written afresh and written back into
// the text it came from with one value changed and one added.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include <strings.h>

#include "base/ZWinReg.h"

namespace {

bool Same(std::vector<RegistryValue> a, std::vector<RegistryValue> b) {
    auto byName = [](const RegistryValue& x, const RegistryValue& y) { return x.name < y.name; };
    std::sort(a.begin(), a.end(), byName);
    std::sort(b.begin(), b.end(), byName);
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](const RegistryValue& x, const RegistryValue& y) {
        return x.name == y.name && x.isString == y.isString && x.data == y.data;
    });
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string_view text(reinterpret_cast<const char*>(data), size);
    const char* key = "Software\\KovraGames\\Tintorix";
    bool wellFormed = false;
    auto values = ZWinReg::ParseRegistryText(text, key, &wellFormed);
    std::string written = ZWinReg::FormatRegistryText(values, key);
    auto again = ZWinReg::ParseRegistryText(written, key);
    // What the writer wrote, the reader reads back the same, in the same order.
    if (again.size() != values.size() || !Same(again, values)) {
        __builtin_trap();
    }
    for (size_t i = 0; i < values.size(); ++i) {
        if (again[i].name != values[i].name) {
            __builtin_trap();
        }
    }
    if (wellFormed) {
        if (!values.empty()) {
            values[0] = RegistryValue{values[0].name, true, "changed"};
        }
        if (std::none_of(values.begin(), values.end(),
                         [](const RegistryValue& v) { return strcasecmp(v.name.c_str(), "ZzNew") == 0; })) {
            values.push_back(RegistryValue{"ZzNew", true, "new"});
        }
        if (!Same(ZWinReg::ParseRegistryText(ZWinReg::RewriteRegistryText(text, values, key), key), values)) {
            __builtin_trap();
        }
    }
    return 0;
}
