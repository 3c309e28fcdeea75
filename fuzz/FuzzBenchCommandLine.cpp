// The bench's command line, from words split at NUL bytes: either refused with a reason, or options within
// their ranges. Its reader is its own, so its source comes in whole.
#define main BenchMain
#include "../bench/BenchMain.cpp"
#undef main

#include "fuzz/FuzzInput.h"

namespace {

void Check(bool holds) {
    if (!holds) {
        __builtin_trap();
    }
}

void CheckReason(const std::string& reason) {
    Check(!reason.empty());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::vector<std::string> words = FuzzInput(data, size).Words();
    std::vector<char*> argv = FuzzInput::Pointers(words);
    int argc = static_cast<int>(words.size());

    Options bench;
    bool help = false;
    std::string error;
    if (!ParseOptions(argc, argv.data(), &bench, &help, &error)) {
        CheckReason(error);
    } else if (!help) {
        Check(bench.wins >= 1 && bench.wins <= 3 && bench.humans >= 0 && bench.humans <= 4);
        Check(bench.peers >= 1 && bench.peers <= 3 && bench.matches >= 1);
        Check(bench.replay.empty() || (bench.record.empty() && bench.hostPort == 0 && bench.join.empty()));
    }
    return 0;
}
