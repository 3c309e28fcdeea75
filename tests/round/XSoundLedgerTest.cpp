#include <gtest/gtest.h>

#include "round/XSoundLedger.h"

TEST(XSoundLedgerTest, AFrameRunAgainIsHeardOnceAndANewSoundOfItOnlyWhileRecent) {
    // {frame, newest frame run, sound, heard}; each row with a new frame or newest begins a run of a frame.
    const struct {
        uint32_t frame, newest;
        int32_t sound;
        bool heard;
    } steps[] = {
        {10, 10, 5, true}, {10, 10, 5, true},                     // two bangs in one frame, both heard
        {10, 12, 5, false}, {10, 12, 5, false}, {10, 12, 5, true}, // run again: a third is new, 2 frames late
        {8, 12, 7, false}, {8, 13, 7, false},                      // new 4 frames late: dropped, for good
        {13, 13, 7, true},                                         // the same sound in a frame of its own
    };
    XSoundLedger ledger;
    EXPECT_TRUE(ledger.Admit(5)) << "off, as offline, every sound is heard";
    ledger.SetOn(true);
    uint32_t frame = 0, newest = 0;
    for (const auto& step : steps) {
        if (step.frame != frame || step.newest != newest) ledger.BeginFrame(frame = step.frame, newest = step.newest);
        EXPECT_EQ(ledger.Admit(step.sound), step.heard) << step.frame << " of " << step.newest;
    }
}
