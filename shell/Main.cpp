#include <cstdio>

#include "platform/Platform.h"
#include "platform/SdlShell.h"
#include "shell/Options.h"
#include "shell/Shell.h"
#include "shell/XAppData.h"
#include "shell/XSettings.h"

// Before the application object: a quit signal while it loads the table already ends the game in order.
static const bool quitSignalsInstalled = [] {
    InstallQuitSignals();
    return true;
}();

// Built before main and destroyed after it, so the high scores are saved on every way out.
XAppData theApp;

int main(int argc, char** argv) {
    Options options = ParseOptions(argc, argv);
    switch (options.action) {
        case Options::Action::Help: std::fputs(UsageText(), stdout); return 0;
        case Options::Action::Version: std::puts(VersionText()); return 0;
        case Options::Action::Usage: std::fprintf(stderr, "tintorix: %s\n%s", options.error.c_str(), UsageText()); return 2;
        case Options::Action::Play: break;
    }
    XSettings& settings = *theApp.GetSettings();
    if (options.resetSettings) {
        settings.SetDefaults();
    }
    if (options.fullScreen >= 0) {
        settings.window.fullScreen = options.fullScreen == 1;
    }
    InstallPlatform();
    int exitCode = WinMain(theApp, nullptr);
    ShutdownPlatform();
    return exitCode;
}
