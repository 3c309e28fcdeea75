#include "net/XLockstep.h"

#include <algorithm>

#include "base/LittleEndian.h"

namespace {

constexpr int kOwnSums = 4;
// A bundle's flags: bit 0 the host's Escape, bits 4 to 7 the seats the computer has taken over.
constexpr uint8_t kEscapeFlag = 1;
constexpr int kComputerShift = 4;

uint8_t SeatBits(int seat) {
    return static_cast<uint8_t>(3 << (2 * seat));
}

}  // namespace

XLockstep::XLockstep(bool host, uint16_t match, uint32_t delay, uint8_t localSeats, uint8_t remoteSeats,
                     uint8_t computerSeats, uint32_t guessFrames)
    : host(host),
      match(match),
      delay(delay),
      localSeats(localSeats),
      remoteSeats(remoteSeats),
      computerSeats(computerSeats),
      guessFrames(guessFrames) {
    // Nobody can have sent input for the first frames: they are empty everywhere.
    if (host) {
        for (auto& seatInputs : inputs) {
            seatInputs.assign(delay, 0);
        }
        escapes.assign(delay, false);
        MakeBundles();
    } else {
        ownInputs.assign(delay, 0);
        for (Link& link : links) {
            link.acked = delay;
        }
    }
}

XLockstep::~XLockstep() = default;

void XLockstep::MakeBundles() {
    uint32_t before = Bundled();
    for (;;) {
        size_t index = bundles.size();
        if (escapes.size() <= index) {
            break;
        }
        XFrameInput bundle;
        bundle.escape = escapes[index];
        bool missing = false;
        for (int seat = 0; seat < 4; ++seat) {
            if (!IsNeeded(seat)) {
                continue;
            }
            if (inputs[seat].size() <= index || inputs[seat][index] < 0) {
                missing = true;
                break;
            }
            bundle.steering = static_cast<uint8_t>(bundle.steering | (inputs[seat][index] & SeatBits(seat)));
        }
        if (missing) {
            break;
        }
        for (int seat = 0; seat < 4; ++seat) {
            if (localSeats >> seat & 1) {
                bundle.steering =
                    static_cast<uint8_t>(bundle.steering | (inputs[seat][index] & SeatBits(seat)));
            }
        }
        bundle.computerSeats = computerSeats;
        bundles.push_back(bundle);
        haveBundle.push_back(true);
        received = Bundled();
    }
    NoteConfirmed(before);
}

void XLockstep::NoteConfirmed(uint32_t before) {
    uint32_t upTo = std::min(Confirmed(), static_cast<uint32_t>(used.size()));
    for (uint32_t frame = before + 1; frame <= upTo; ++frame) {
        if (!(used[frame - 1] == bundles[frame - 1])) {
            wrongFrom = wrongFrom == 0 ? frame : std::min(wrongFrom, frame);
            return;
        }
    }
}

XFrameInput XLockstep::Guess(uint32_t frame) const {
    uint32_t known = Confirmed();
    XFrameInput guess = known > 0 ? bundles[known - 1] : XFrameInput{};
    guess.escape = false;
    if (!host) {
        for (int seat = 0; seat < 4; ++seat) {
            if (localSeats >> seat & 1) {
                guess.steering = static_cast<uint8_t>((guess.steering & ~SeatBits(seat)) |
                                                      (ownInputs[frame - 1] & SeatBits(seat)));
            }
        }
        return guess;
    }
    guess.escape = escapes[frame - 1];
    guess.computerSeats = computerSeats;
    guess.steering = 0;
    for (int seat = 0; seat < 4; ++seat) {
        const auto& seatInputs = inputs[seat];
        int16_t bits = (known > 0 && IsNeeded(seat)) ? bundles[known - 1].steering : 0;
        if (localSeats >> seat & 1) {
            bits = seatInputs[frame - 1];
        } else if (IsNeeded(seat)) {
            // A joiner's input for the frame may be here before another's: the newest known is the guess.
            for (size_t index = std::min<size_t>(frame, seatInputs.size()); index > known; --index) {
                if (seatInputs[index - 1] >= 0) {
                    bits = seatInputs[index - 1];
                    break;
                }
            }
        }
        guess.steering = static_cast<uint8_t>(guess.steering | (bits & SeatBits(seat)));
    }
    return guess;
}

uint32_t XLockstep::TakeCorrection() {
    uint32_t frame = stopReason.empty() ? wrongFrom : 0;
    wrongFrom = 0;
    return frame;
}

XFrameInput XLockstep::Rerun(uint32_t frame) {
    if (frame == 0 || frame >= next) {
        return {};
    }
    XFrameInput input = frame <= Confirmed() ? bundles[frame - 1] : Guess(frame);
    if (frame <= used.size()) {
        used[frame - 1] = input;
    }
    return input;
}

XFrameInput XLockstep::Exchange(const XFrameInput& local) {
    if (!stopReason.empty()) {
        ++next;
        return {};
    }
    if (host) {
        for (int seat = 0; seat < 4; ++seat) {
            if (localSeats >> seat & 1) {
                inputs[seat].resize(next + delay, -1);
                inputs[seat][next + delay - 1] = local.steering & SeatBits(seat);
            }
        }
        escapes.push_back(local.escape);
        MakeBundles();
    } else {
        ownInputs.push_back(local.steering);
    }
    XFrameInput bundle = next <= Confirmed() ? bundles[next - 1] : guessFrames ? Guess(next) : XFrameInput{};
    if (guessFrames) {
        used.push_back(bundle);
    }
    // Seats nobody took are the computer's from the first frame; later ones were left.
    if (!bundles.empty()) {
        leftSeats = static_cast<uint8_t>(bundle.computerSeats & ~bundles[0].computerSeats);
    }
    ++next;
    return bundle;
}

uint8_t XLockstep::GetWaitingFor() const {
    if (!host) {
        return hostWaitingFor;
    }
    if (Bundled() >= next || !stopReason.empty()) {
        return 0;
    }
    size_t index = bundles.size();
    uint8_t waiting = 0;
    for (int seat = 0; seat < 4; ++seat) {
        if (IsNeeded(seat) && (inputs[seat].size() <= index || inputs[seat][index] < 0)) {
            waiting = static_cast<uint8_t>(waiting | 1 << seat);
        }
    }
    return waiting;
}

void XLockstep::CheckState(uint32_t frame, uint64_t sum) {
    if (!stopReason.empty()) {
        return;
    }
    if (host) {
        sums[kOwnSums][frame] = sum;
        Compare(frame);
        return;
    }
    std::string bytes(1, static_cast<char>(kCheck));
    PutLittleEndian(bytes, match, 2);
    PutLittleEndian(bytes, frame, 4);
    PutLittleEndian(bytes, sum, 8);
    SendReliable(0, std::move(bytes));
}

void XLockstep::Compare(uint32_t frame) {
    auto own = sums[kOwnSums].find(frame);
    if (own == sums[kOwnSums].end()) {
        return;
    }
    // The host's state is the reference: a joiner that differs is out of step alone, unless every joiner
    // agrees on another state, which is then the host's fault. Decided once every joiner has told.
    uint8_t playing = static_cast<uint8_t>(remoteSeats & ~computerSeats);
    uint8_t differing = 0;
    bool othersAgree = true;
    const uint64_t* first = nullptr;
    for (int seat = 0; seat < 4; ++seat) {
        if (!(playing >> seat & 1)) {
            continue;
        }
        auto theirs = sums[seat].find(frame);
        if (theirs == sums[seat].end()) {
            return;
        }
        differing = static_cast<uint8_t>(differing | (theirs->second != own->second) << seat);
        othersAgree = othersAgree && (!first || *first == theirs->second);
        first = first ? first : &theirs->second;
    }
    bool twoOrMore = (playing & (playing - 1)) != 0;
    if (differing != 0 && differing == playing && twoOrMore && othersAgree) {
        mismatchFrame = frame;
        Stop("the computers went out of step at frame " + std::to_string(frame));
        return;
    }
    for (int seat = 0; seat < 4; ++seat) {
        if (differing >> seat & 1) {
            std::string bytes(1, static_cast<char>(kStop));
            PutLittleEndian(bytes, match, 2);
            bytes += "this computer went out of step at frame " + std::to_string(frame);
            SendReliable(seat, std::move(bytes));
            DropSeat(seat);
        }
    }
}

void XLockstep::Receive(int seat, std::string_view bytes) {
    if (bytes.size() < 3 || seat < 0 || seat >= kFirstWatcher + kMaxWatchers ||
        GetLittleEndian(bytes, 1, 2) != match) {
        return;
    }
    switch (static_cast<uint8_t>(bytes[0])) {
        case kInputs:
        case kBundles:
            ReadFrames(seat, bytes);
            break;
        case kCheck:
            if (host && bytes.size() == 15 && (remoteSeats >> seat & 1)) {
                uint32_t frame = static_cast<uint32_t>(GetLittleEndian(bytes, 3, 4));
                sums[seat][frame] = GetLittleEndian(bytes, 7, 8);
                Compare(frame);
                // Older sums are never compared again.
                while (sums[seat].size() > 8) {
                    sums[seat].erase(sums[seat].begin());
                }
            }
            break;
        case kStop:
            if (!host && stopReason.empty()) {
                stopReason = std::string(bytes.substr(3));
                if (stopReason.empty()) {
                    stopReason = "the host stopped the match";
                }
            }
            break;
        default:
            break;
    }
}

// [kind][match 2][ack 4][first 4][count 1] and count frames: one byte of steering from a joiner; from the
// host a byte of the seats it waits for, then steering and flags.
void XLockstep::ReadFrames(int seat, std::string_view bytes) {
    bool fromJoiner = bytes[0] == kInputs;
    if (fromJoiner != host || bytes.size() < 12) {
        return;
    }
    Link& link = links[seat];
    // An acknowledgement of frames never sent is not believed.
    uint32_t sent = host ? Bundled() : static_cast<uint32_t>(ownInputs.size());
    link.acked = std::max(link.acked, std::min(static_cast<uint32_t>(GetLittleEndian(bytes, 3, 4)), sent));
    uint32_t first = static_cast<uint32_t>(GetLittleEndian(bytes, 7, 4));
    uint32_t count = static_cast<uint8_t>(bytes[11]);
    size_t width = host ? 1 : 2;
    size_t header = host ? 12 : 13;
    if (first == 0 || bytes.size() != header + width * count) {
        return;
    }
    if (!host) {
        hostWaitingFor = static_cast<uint8_t>(bytes[12]);
    }
    // Nothing honest runs this far ahead; a stray packet must not grow the tables without bound.
    uint64_t limit = (host ? Bundled() : received) + kMaxAhead;
    for (uint32_t i = 0; i < count && uint64_t{first} - 1 + i < limit; ++i) {
        size_t index = first - 1 + i;
        const char* frame = bytes.data() + header + width * i;
        if (host) {
            if (!(remoteSeats >> seat & 1) || dropFrame[seat] != 0 || index < delay) {
                continue;
            }
            auto& seatInputs = inputs[seat];
            if (seatInputs.size() <= index) {
                seatInputs.resize(index + 1, -1);
            }
            seatInputs[index] = static_cast<uint8_t>(frame[0]);
        } else {
            if (bundles.size() <= index) {
                bundles.resize(index + 1);
                haveBundle.resize(index + 1, false);
            }
            if (!haveBundle[index]) {
                uint8_t flags = static_cast<uint8_t>(frame[1]);
                bundles[index].steering = static_cast<uint8_t>(frame[0]);
                bundles[index].escape = (flags & kEscapeFlag) != 0;
                bundles[index].computerSeats = static_cast<uint8_t>(flags >> kComputerShift);
                haveBundle[index] = true;
            }
        }
    }
    if (host) {
        MakeBundles();
    } else {
        uint32_t before = received;
        while (received < haveBundle.size() && haveBundle[received]) {
            ++received;
        }
        NoteConfirmed(before);
    }
}

int XLockstep::AddWatcher() {
    for (int slot = 0; host && slot < kMaxWatchers; ++slot) {
        if (!(watchers >> slot & 1)) {
            watchers = static_cast<uint8_t>(watchers | 1 << slot);
            links[kFirstWatcher + slot] = Link{};
            return kFirstWatcher + slot;
        }
    }
    return -1;
}

void XLockstep::DropSeat(int seat) {
    if (host && seat >= kFirstWatcher && seat < kFirstWatcher + kMaxWatchers) {
        watchers = static_cast<uint8_t>(watchers & ~(1 << (seat - kFirstWatcher)));
        return;
    }
    if (!host || seat < 0 || seat > 3 || !(remoteSeats >> seat & 1) || dropFrame[seat] != 0) {
        return;
    }
    dropFrame[seat] = Bundled() + 1;
    computerSeats = static_cast<uint8_t>(computerSeats | 1 << seat);
    MakeBundles();
}

void XLockstep::Stop(const std::string& reason) {
    if (!stopReason.empty()) {
        return;
    }
    stopReason = reason.empty() ? "the match stopped" : reason;
    for (int seat = 0; host && seat < kFirstWatcher + kMaxWatchers; ++seat) {
        if (IsPeer(seat)) {
            std::string bytes(1, static_cast<char>(kStop));
            PutLittleEndian(bytes, match, 2);
            SendReliable(seat, bytes + stopReason);
        }
    }
}

void XLockstep::SendReliable(int seat, std::string bytes) {
    reliable.push_back({seat, true, std::move(bytes)});
}

std::string XLockstep::FramesPacket(int seat, const Link& link, uint32_t upTo) {
    uint32_t first = link.acked + 1;
    uint32_t count = upTo >= first ? std::min(upTo - first + 1, kMaxFramesPerPacket) : 0;
    std::string bytes(1, static_cast<char>(host ? kBundles : kInputs));
    PutLittleEndian(bytes, match, 2);
    // What this side holds in a row: a joiner's inputs past the first frames, or the bundles.
    uint32_t held = Bundled();
    if (host && seat >= kFirstWatcher) {
        // A watcher's input counts for nothing: all of it is taken.
        held = UINT32_MAX;
    } else if (host) {
        held = delay;
        const auto& seatInputs = inputs[seat];
        while (held < seatInputs.size() && seatInputs[held] >= 0) {
            ++held;
        }
    } else {
        held = received;
    }
    PutLittleEndian(bytes, held, 4);
    PutLittleEndian(bytes, first, 4);
    PutLittleEndian(bytes, count, 1);
    if (host) {
        PutLittleEndian(bytes, GetWaitingFor(), 1);
    }
    for (uint32_t frame = first; frame < first + count; ++frame) {
        if (host) {
            const XFrameInput& bundle = bundles[frame - 1];
            PutLittleEndian(bytes, bundle.steering, 1);
            PutLittleEndian(bytes, (bundle.escape ? kEscapeFlag : 0) | bundle.computerSeats << kComputerShift, 1);
        } else {
            PutLittleEndian(bytes, ownInputs[frame - 1], 1);
        }
    }
    return bytes;
}

bool XLockstep::IsPeer(int seat) const {
    if (seat >= kFirstWatcher) {
        return host && (watchers >> (seat - kFirstWatcher) & 1);
    }
    return host ? (remoteSeats >> seat & 1) && dropFrame[seat] == 0 : (localSeats >> seat & 1);
}

uint32_t XLockstep::SentUpTo() const {
    return host ? Bundled() : static_cast<uint32_t>(ownInputs.size());
}

std::vector<XLockstep::Packet> XLockstep::TakePackets(uint32_t now) {
    std::vector<Packet> out = std::move(reliable);
    reliable.clear();
    for (int seat = 0; seat < kFirstWatcher + kMaxWatchers; ++seat) {
        if (!IsPeer(seat)) {
            continue;
        }
        Link& link = links[seat];
        uint32_t upTo = SentUpTo();
        uint32_t since = now - link.lastSent;
        bool fresh = upTo > link.sentUpTo;
        bool unacked = upTo > link.acked;
        if (link.everSent && !fresh && !(unacked && since >= kResendMs) && since < kKeepAliveMs) {
            continue;
        }
        out.push_back({seat, false, FramesPacket(seat, link, upTo)});
        link.lastSent = now;
        link.sentUpTo = upTo;
        link.everSent = true;
    }
    return out;
}

uint32_t XLockstep::UntilSendDue(uint32_t now) const {
    if (!reliable.empty()) {
        return 0;
    }
    uint32_t until = kKeepAliveMs;
    for (int seat = 0; seat < kFirstWatcher + kMaxWatchers; ++seat) {
        if (!IsPeer(seat)) {
            continue;
        }
        const Link& link = links[seat];
        uint32_t upTo = SentUpTo();
        if (!link.everSent || upTo > link.sentUpTo) {
            return 0;
        }
        uint32_t since = now - link.lastSent;
        uint32_t period = upTo > link.acked ? kResendMs : kKeepAliveMs;
        until = std::min(until, since >= period ? 0 : period - since);
    }
    return until;
}

bool XLockstep::IsSettled() const {
    for (int seat = 0; seat < kFirstWatcher + kMaxWatchers; ++seat) {
        if (IsPeer(seat) && links[seat].acked < SentUpTo()) {
            return false;
        }
    }
    return reliable.empty();
}
