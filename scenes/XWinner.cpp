#include "scenes/XWinner.h"

#include "shell/XAppData.h"

// Placeholder scene: shows black until its screen lands.
XWinner::XWinner(XAppData* app) : app(app) {}

XWinner::~XWinner() = default;

void XWinner::UpdateFrame() { (void)app; }
