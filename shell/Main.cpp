#include "platform/Platform.h"
#include "shell/Shell.h"
#include "shell/XAppData.h"

// Built before main and destroyed after it, so the high scores are saved on every way out.
XAppData theApp;

int main() {
    InstallPlatform();
    int exitCode = WinMain(theApp, nullptr);
    ShutdownPlatform();
    return exitCode;
}
