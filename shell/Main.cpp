#include "platform/Platform.h"
#include "platform/SdlShell.h"
#include "shell/Shell.h"
#include "shell/XAppData.h"

// Before the application object: a quit signal while it loads the table already ends the game in order.
static const bool quitSignalsInstalled = [] {
    InstallQuitSignals();
    return true;
}();

// Built before main and destroyed after it, so the high scores are saved on every way out.
XAppData theApp;

int main() {
    InstallPlatform();
    int exitCode = WinMain(theApp, nullptr);
    ShutdownPlatform();
    return exitCode;
}
