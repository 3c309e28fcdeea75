// The high-score lines: name, comma, score, as stored in the registry.
#include <cstddef>
#include <cstdint>
#include <string>

#include "base/ZRankList.h"
#include "base/ZStringList.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    ZStringList lines;
    std::string current;
    for (size_t i = 0; i < size; ++i) {
        if (data[i] == '\n') {
            lines.Add(ZString(current.c_str()));
            current.clear();
        } else if (data[i] != 0) {
            current.push_back(static_cast<char>(data[i]));
        }
    }
    lines.Add(ZString(current.c_str()));
    ZRankList table(lines.GetCount() > 0 && lines.GetCount() <= 12 ? lines.GetCount() : 10);
    table.FillDefaults(ZString("KOVRA GAMES"), 500, 50);
    table.FromStringList(lines);
    ZRankItem probe(ZString("Dummy"), size);
    table.Insert(probe);
    ZStringList back;
    table.ToStringList(back);
    return 0;
}
