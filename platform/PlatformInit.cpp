#include "platform/Platform.h"

// Placeholder until the SDL layer lands.
void InstallPlatform() {}
