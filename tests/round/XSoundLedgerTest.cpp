#include <gtest/gtest.h>

#include <tuple>

#include "round/XSoundLedger.h"

TEST(XSoundLedgerTest, AFrameRunAgainIsHeardOnceAndANewSoundOfItOnlyWhileRecent) {
    // {frame, newest frame run, sound, heard}; each row with a new frame or newest begins a run of a frame.
    const std::tuple<uint32_t, uint32_t, int32_t, bool> steps[] = {
        {10, 10, 5, true}, {10, 10, 5, true},                      // two bangs in one frame, both heard
        {10, 12, 5, false}, {10, 12, 5, false}, {10, 12, 5, true}, // run again: a third is new, 2 frames late
        {8, 12, 7, false}, {8, 13, 7, false},                      // new 4 frames late: dropped, for good
        {13, 13, 7, true},                                         // the same sound in a frame of its own
    };
    XSoundLedger ledger;
    EXPECT_TRUE(ledger.Admit(5)) << "off, as offline, every sound is heard";
    ledger.SetOn(true);
    uint32_t frame = 0, newest = 0;
    for (auto [at, upTo, sound, heard] : steps) {
        if (at != frame || upTo != newest) ledger.BeginFrame(frame = at, newest = upTo);
        EXPECT_EQ(ledger.Admit(sound), heard) << at << " of " << upTo;
    }
}
