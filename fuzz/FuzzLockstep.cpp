// The lockstep on packets as a network might bring them: whatever arrives, at a host from either joiner
// or at a joiner from the host, it neither crashes nor lets a frame run before its bundle is whole.
#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz/FuzzInput.h"
#include "net/XLockstep.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    XLockstep host(true, 1, 2, 1, 6, 8);
    XLockstep joiner(false, 1, 3, 4, 0, 0);
    uint32_t now = 0;
    FuzzInput input(data, size);
    uint8_t head = 0;
    std::string bytes;
    while (input.Next(63, &head, &bytes)) {
        size_t length = bytes.size();
        // Two top bits: to the host from seat 1 or 2, to the joiner, or a step of both.
        switch (head >> 6) {
            case 0: host.Receive(1, bytes); break;
            case 1: host.Receive(2, bytes); break;
            case 2: joiner.Receive(2, bytes); break;
            default:
                for (XLockstep* side : {&host, &joiner}) {
                    if (side->IsFrameReady()) {
                        if (side->WantsStateCheck()) side->CheckState(length);
                        side->Exchange({static_cast<uint8_t>(length), false, 0});
                    }
                    side->TakePackets(now += 7);
                }
                if (head == 255) host.DropSeat(2);
                break;
        }
    }
    return 0;
}
