// Placeholder until the SDL layer lands.
void InstallPlatform() {}
