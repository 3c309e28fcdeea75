#include "scenes/XMenu.h"

#include "shell/XAppData.h"

// Placeholder scene: shows black until its screen lands.
XMenu::XMenu(XAppData* app) : app(app) {}

XMenu::~XMenu() = default;

void XMenu::UpdateFrame() { (void)app; }
