#include "round/XGame.h"

#include "shell/XAppData.h"

// Placeholder scene: shows black until its screen lands.
XGame::XGame(XAppData* app) : app(app) {}

XGame::~XGame() = default;

void XGame::UpdateFrame() { (void)app; }
