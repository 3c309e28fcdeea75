#pragma once

#include <cstdint>

// One frame's input of every seat of a battle match, all that a round takes from its players: whether
// each seat steers left or right, and Escape. The keys and controllers fill it, or a replay does; the
// round plays the same either way.
struct XFrameInput {
    // Bit 2 * seat: left; bit 2 * seat + 1: right. Both at once cancel out.
    uint8_t steering = 0;
    bool escape = false;
    // Seats the computer has taken over from people who left an online match, from this frame on.
    uint8_t computerSeats = 0;

    bool IsLeft(int seat) const { return (steering >> (2 * seat) & 1) != 0; }
    bool IsRight(int seat) const { return (steering >> (2 * seat + 1) & 1) != 0; }
    void Steer(int seat, bool left, bool right) {
        steering =
            static_cast<uint8_t>(steering | (left ? 1 : 0) << (2 * seat) | (right ? 2 : 0) << (2 * seat));
    }
    bool operator==(const XFrameInput&) const = default;
};
