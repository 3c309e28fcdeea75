#include "scenes/XRanking.h"

#include "shell/XAppData.h"

// Placeholder scene: shows black until its screen lands.
XRanking::XRanking(XAppData* app) : app(app) {}

XRanking::~XRanking() = default;

void XRanking::UpdateFrame() { (void)app; }
