#include <filesystem>
#include <functional>

#include "base/ZChecksum.h"
#include "shell/XReplay.h"
#include "support/TestSupport.h"

TEST(XReplayTest, AWholeReplayReadsBackAndAnythingElseIsRefusedWithItsReason) {
    ZChecksum sum;  // 64-bit FNV-1a, little-endian integers: the stored replays' checksums depend on it
    sum.AddInt(0x01020304);
    EXPECT_EQ(sum.Get(), 0xb345225e3644edb5u);
    XReplay replay;
    replay.seed = 0x12345678;
    replay.singleBattle = 0;
    replay.controlType[3] = 2;
    // The first run is 128 frames long: a count whose first byte is 128.
    for (int i = 0; i < 300; ++i)
        replay.frames.push_back(
            {static_cast<uint8_t>(i < 128 ? 3 : i / 7 % 3), i == 250, i > 200 ? uint8_t{4} : uint8_t{0}});
    replay.checksum = 0xfedcba9876543210;
    const std::string good = replay.Format();
    XReplay read;
    ASSERT_EQ(read.Parse(good), "");
    EXPECT_EQ(std::tuple(read.Format(), read.frames, read.gameVersion.rfind("tintorix ", 0)),
              std::tuple(good, replay.frames, 0u));
    // Settings no menu can make, with the hash made right for them.
    auto with = [&](const std::function<void(XReplay&)>& change) {
        XReplay copy;
        copy.Parse(good);
        change(copy);
        return copy.Format();
    };
    std::string flipped = good, newer = good;
    flipped[good.size() - 12] ^= 4;  // in the checksum
    newer[8] = 3;
    const std::pair<std::string, std::string> cases[] = {
        {"", "the file is truncated"},
        {"TXREP", "the file is truncated"},
        {"GIF89a and more", "not a Tintorix replay"},
        {newer, "replay format 3, this game reads format 2"},
        {good.substr(0, good.size() - 1), "the file is truncated"},
        {good.substr(0, 45), "the file is truncated"},
        {flipped, "the file is damaged"},
        {good + '\0', "the file is damaged"},
        {with([](XReplay& r) { r.winsNeeded = 4; }), "the file is damaged"},
        {with([](XReplay& r) { std::fill_n(r.controlType, 4, 2); }), "the file is damaged"},
        {with([](XReplay& r) { r.frames.resize(XReplay::kMaxFrames + 1); }), "the file is damaged"}};
    for (const auto& [bytes, reason] : cases) {
        EXPECT_EQ(read.Parse(bytes), reason) << bytes.size();
    }
    EXPECT_EQ(read.frames, replay.frames);
    TempConfigDir dir;
    EXPECT_EQ(std::tuple(read.Load(dir.Path()), read.Load(dir.Path() + "/none")),
              std::tuple("not a regular file of at most 1 MiB", "no such file"));
}
