// The registry read at the file level: whatever bytes lie in registry.reg (any size, NUL bytes, no final
// newline), the table loads, saves and loads again the same; a file that did not parse is kept aside.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>

#include <unistd.h>

#include "base/ZRankList.h"
#include "base/ZStringList.h"
#include "base/ZWinReg.h"

namespace {

constexpr const char* kKey = "Software\\KovraGames\\Tintorix";

std::string Slurp(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// The table as it is stored.
std::string Lines(const ZRankList& table) {
    ZStringList lines;
    table.ToStringList(lines);
    std::string text;
    for (uint32_t i = 0; i < lines.GetCount(); ++i) {
        text += std::string(lines.GetAt(i).GetBuffer()) + "\n";
    }
    return text;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const std::string file = [] {
        std::string root = "/tmp/tintorix-fuzz-registry-" + std::to_string(getpid());
        setenv("XDG_CONFIG_HOME", root.c_str(), 1);
        return ZWinReg::RegistryFilePath(kKey);
    }();
    std::string bytes(reinterpret_cast<const char*>(data), size);
    // A last byte 0xFF makes the file too big to be read.
    if (size > 0 && data[size - 1] == 0xFF) {
        bytes.resize(ZWinReg::kMaxFileBytes + 1 + size, 'x');
    }
    {
        ZRankList probe(10);
        probe.LoadFromRegistry(kKey);  // makes the directories
    }
    std::remove((file + ".bad").c_str());
    std::ofstream(file, std::ios::binary | std::ios::trunc) << bytes;

    ZRankList first(10);
    first.FillDefaults(ZString("KOVRA GAMES"), 500, 50);
    first.LoadFromRegistry(kKey);
    bool wellFormed = false;
    ZWinReg::ParseRegistryText(bytes, kKey, &wellFormed);
    wellFormed = wellFormed && bytes.size() <= ZWinReg::kMaxFileBytes;
    first.SaveToRegistry(kKey);
    if (!wellFormed && Slurp(file + ".bad") != bytes) {
        __builtin_trap();
    }
    ZRankList second(10);
    second.FillDefaults(ZString("NONE"), 1, 0);
    second.LoadFromRegistry(kKey);
    if (Lines(first) != Lines(second)) {
        __builtin_trap();
    }
    return 0;
}
