// A replay played, not only read: whatever file the reader accepts (sealed as a writer would, so that the
// fuzzer gets past the check against damage), the bench plays it headless to its end without a fault.
#define main BenchMain
#include "../bench/BenchMain.cpp"
#undef main

#include <fstream>

#include <unistd.h>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const std::string path = "/tmp/tintorix-fuzz-playback-" + std::to_string(getpid()) + ".rep";
    std::string bytes(reinterpret_cast<const char*>(data), size);
    ZChecksum hash;
    hash.Add(bytes);
    std::string sealed = bytes;
    for (int i = 0; i < 8; ++i) {
        sealed.push_back(static_cast<char>(hash.Get() >> (8 * i)));
    }
    XReplay replay;
    if (!replay.Parse(sealed).empty() && !replay.Parse(bytes).empty()) {
        return 0;
    }
    // A few seconds of play each, so that the fuzzer tries many files.
    if (replay.frames.size() > 300) {
        replay.frames.resize(300);
    }
    {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out << replay.Format();
    }
    char program[] = "tintorix-bench";
    char option[] = "--replay";
    std::string file = path;
    char* argv[] = {program, option, file.data(), nullptr};
    BenchMain(3, argv);
    return 0;
}

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    // The bench's report of every match is not the fuzzer's business.
    return std::freopen("/dev/null", "w", stdout) ? 0 : 1;
}
