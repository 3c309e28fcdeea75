#include <unistd.h>

#include <filesystem>
#include <functional>

#include "base/ZChecksum.h"
#include "shell/XMenuData.h"
#include "shell/XReplay.h"
#include "support/TestSupport.h"

TEST(XReplayTest, AWholeReplayReadsBackAndLoadsWithItsSettingsAndAnythingElseIsRefusedWithItsReason) {
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
    std::string flipped = good;
    flipped[good.size() - 12] ^= 4;  // in the checksum
    const std::pair<std::string, std::string> cases[] = {
        {"", "the file is truncated"},        {"GIF89a and more", "not a Tintorix replay"},
        {good.substr(0, 45), "the file is truncated"}, {flipped, "the file is damaged"},
        {good + '\0', "the file is damaged"},
        {with([](XReplay& r) { std::fill_n(r.controlType, 4, 2); }), "the file is damaged"},
        {with([](XReplay& r) { r.frames.resize(XReplay::kMaxFrames + 1); }), "the file is damaged"}};
    for (const auto& [bytes, reason] : cases) EXPECT_EQ(read.Parse(bytes), reason) << bytes.size();
    EXPECT_EQ(read.frames, replay.frames);
    TempConfigDir dir;
    EXPECT_EQ(std::tuple(read.Load(dir.Path()), read.Load(dir.Path() + "/none")),
              std::tuple("not a regular file of at most 1 MiB", "no such file"));
    // A saved replay loads with its settings; a save where none can be made fails.
    XMenuData menu;
    menu.SetWinsNeeded(3);
    menu.SetSingleBattle(0);
    for (int seat = 0; seat < 4; ++seat) menu.SetControlType(seat, (seat + 1) % 3);
    replay.TakeSettings(menu);
    replay.seed = 99;
    replay.frames.assign(1000, {2, false, 0});
    const std::string path = dir.Path() + "/match.rep";
    ASSERT_TRUE(replay.Save(path));
    EXPECT_FALSE(replay.Save(dir.Path() + "/missing/match.rep"));
    ASSERT_EQ(read.Load(path), "");
    XMenuData given;
    given.SetBattleMode(0);
    read.GiveSettings(&given);
    EXPECT_EQ(std::tuple(given.GetWinsNeeded(), given.IsSingleBattle(), given.GetControlType(0),
                         given.GetControlType(1), given.GetControlType(2), given.GetControlType(3),
                         given.IsBattleMode(), read.seed, read.frames),
              std::tuple(3, 0, 1, 2, 0, 1, XMenuData().IsBattleMode(), 99u, replay.frames));
    std::filesystem::permissions(path, std::filesystem::perms::none);
    if (access(path.c_str(), R_OK) != 0) {  // root reads it all the same
        EXPECT_EQ(read.Load(path), "the file cannot be read");
    }
}

// The bytes with the hash at their end made right again, as if whatever changed them knew the format.
static std::string Rehashed(std::string bytes) {
    bytes.resize(bytes.size() - 8);
    ZChecksum sum;
    sum.Add(bytes);
    for (int i = 0; i < 8; ++i) bytes.push_back(static_cast<char>(sum.Get() >> (8 * i)));
    return bytes;
}

TEST(XReplayTest, EachFieldOutOfItsRangeIsDamageEvenUnderARightHashAndEachEdgeWithinItReads) {
    XReplay replay;
    replay.gameVersion = "v";
    replay.frames = {{1, false, 0}, {1, false, 0}, {1, false, 0}, {6, true, 0}};
    replay.checksum = 7;
    const std::string good = replay.Format();
    // Magic 0-7, format 8, version 9-10, wins 11, single battle 12, seats 13-16, seed 17-20, frame count
    // 21-24, two runs of count, steering and flags 25-30, checksum 31-38, hash 39-46.
    ASSERT_EQ(good.size(), 47u);
    auto with = [&](std::initializer_list<std::pair<size_t, int>> bytes) {
        std::string changed = good;
        for (auto [at, value] : bytes) changed[at] = static_cast<char>(value);
        return Rehashed(changed);
    };
    const std::string damaged = "the file is damaged";
    // A version longer than any written or with a character that is no letter; no wins needed or too many; a
    // battle type or a seat type the menu has not; runs of no frames or past the frame count, a count that
    // runs on into the steering or takes five bytes; fewer frames than the runs hold, more than any match
    // has; a fifth seat taken over, or seats taken over in the format before there were any.
    // clang-format off
    const std::pair<std::string, std::string> refused[] = {
        {with({{8, 0}}), "replay format 0, this game reads format 2"},
        {with({{8, 3}}), "replay format 3, this game reads format 2"},
        {with({{9, 65}}), damaged}, {with({{10, 0x7f}}), damaged}, {with({{10, 0x1f}}), damaged},
        {with({{11, 0}}), damaged}, {with({{11, 4}}), damaged}, {with({{12, 2}}), damaged},
        {with({{16, 3}}), damaged}, {with({{25, 0}}), damaged}, {with({{25, 4}}), damaged},
        {with({{28, 2}}), damaged}, {with({{25, 0x83}}), damaged},
        {Rehashed(good.substr(0, 25) + std::string("\x83\x80\x80\x80\0", 5) + good.substr(26)), damaged},
        {with({{21, 3}}), damaged}, {with({{24, 1}}), damaged}, {with({{30, 32}}), damaged},
        {with({{8, 1}, {30, 2}}), damaged}, {with({{21, 5}}), "the file is truncated"},
        {Rehashed(good.substr(0, 28) + good.substr(31)), "the file is truncated"}};
    // clang-format on
    for (const auto& [bytes, reason] : refused) {
        XReplay read;
        EXPECT_EQ(read.Parse(bytes), reason) << (&bytes - &refused[0].first) / 2;
    }
    // Cut at any byte, at a field's start or within it, the file is truncated.
    for (size_t cut = 0; cut < good.size(); ++cut)
        EXPECT_EQ(XReplay().Parse(good.substr(0, cut)), "the file is truncated") << cut;
    // The edges of each range, and the format before this one, read.
    const std::tuple<std::string, int, int, int, XFrameInput> readable[] = {
        {with({{11, 1}, {12, 0}}), 1, 0, 1, {6, true, 0}},
        {with({{11, 3}, {13, 2}, {14, 2}, {15, 2}, {16, 0}}), 3, 1, 0, {6, true, 0}},
        {with({{30, 31}}), 2, 1, 1, {6, true, 15}}, {with({{8, 1}}), 2, 1, 1, {6, true, 0}}};
    for (const auto& [bytes, wins, single, lastSeat, last] : readable) {
        XReplay read;
        ASSERT_EQ(read.Parse(bytes), "");
        EXPECT_EQ(std::tuple(read.winsNeeded, read.singleBattle, read.controlType[3], read.frames.size(),
                             read.frames.back(), read.gameVersion, read.checksum),
                  std::tuple(wins, single, lastSeat, 4u, last, std::string("v"), 7u));
    }
    // The longest version, of the last printable letter, is written whole and read back, a longer one cut to
    // it; the longest match reads.
    replay.gameVersion = std::string(70, '~');
    replay.frames.resize(XReplay::kMaxFrames);
    XReplay read;
    ASSERT_EQ(read.Parse(replay.Format()), "");
    EXPECT_EQ(std::pair(read.gameVersion, read.frames.size()),
              std::pair(std::string(64, '~'), size_t{XReplay::kMaxFrames}));
}
