#include "scenes/XTitle.h"

#include "shell/XAppData.h"

// Placeholder scene: shows black until its screen lands.
XTitle::XTitle(XAppData* app) : app(app) {}

XTitle::~XTitle() = default;

void XTitle::UpdateFrame() { (void)app; }
