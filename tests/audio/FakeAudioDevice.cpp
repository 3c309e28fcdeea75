#include "audio/FakeAudioDevice.h"

namespace {

OldFakeAudioDevice* current = nullptr;
bool available = true;

std::unique_ptr<AudioDevice> MakeFake() {
    if (!available) {
        return nullptr;
    }
    auto device = std::make_unique<OldFakeAudioDevice>();
    current = device.get();
    return device;
}

}  // namespace

FakeAudioInstall::FakeAudioInstall() {
    current = nullptr;
    available = true;
    SetAudioDeviceFactory(MakeFake);
}

FakeAudioInstall::~FakeAudioInstall() {
    SetAudioDeviceFactory(nullptr);
    current = nullptr;
}

OldFakeAudioDevice* FakeAudioInstall::Current() {
    return current;
}

void FakeAudioInstall::SetAvailable(bool value) {
    available = value;
}
