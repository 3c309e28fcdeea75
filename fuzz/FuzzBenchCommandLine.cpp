// The bench's command line, from words split at NUL bytes: either refused with a reason, or options within
// their ranges. Its reader is its own, so its source comes in whole.
#define main BenchMain
#include "../bench/BenchMain.cpp"
#undef main

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
    std::vector<std::string> words = {"program"};
    for (size_t at = 0; at < size && words.size() < 24;) {
        const void* end = std::memchr(data + at, 0, size - at);
        size_t length = end ? static_cast<const uint8_t*>(end) - (data + at) : size - at;
        words.emplace_back(reinterpret_cast<const char*>(data + at), length);
        at += length + 1;
    }
    std::vector<char*> argv;
    for (std::string& word : words) {
        argv.push_back(word.data());
    }
    argv.push_back(nullptr);
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
