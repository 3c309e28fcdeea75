#include <cstdio>
#include <memory>
#include <string>

#ifdef TINTORIX_HAS_NET
#include "net/XNetSession.h"
#endif
#include "platform/Platform.h"
#include "platform/SdlShell.h"
#include "shell/Options.h"
#include "shell/Shell.h"
#include "shell/XAppData.h"
#include "shell/XMatchInput.h"
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
        case Options::Action::Usage:
            std::fprintf(stderr, "tintorix: %s (try --help)\n", options.error.c_str());
            return 2;
        case Options::Action::Play: break;
    }
    XSettings& settings = *theApp.GetSettings();
    if (options.resetSettings) {
        settings.SetDefaults();
    }
    if (options.fullScreen >= 0) {
        settings.window.fullScreen = options.fullScreen == 1;
    }
    XMatchInput& matchInput = *theApp.GetMatchInput();
    const char* verb = "replay";
    const std::string* file = &options.replayFile;
    std::string error = file->empty() ? "" : matchInput.LoadReplay(*file, theApp.GetMenuSettings());
    if (error.empty() && !options.recordFile.empty()) {
        verb = "record";
        file = &options.recordFile;
        error = matchInput.RecordNextMatch(*file);
    }
    if (!error.empty()) {
        std::fprintf(stderr, "tintorix: cannot %s %s: %s\n", verb, file->c_str(), error.c_str());
        return 1;
    }
    if (options.host || !options.joinHost.empty()) {
#ifdef TINTORIX_HAS_NET
        auto session = std::make_unique<XNetSession>();
        error = options.host ? session->Host(options.port, theApp.GetMenuSettings(), false)
                             : session->Join(options.joinHost, options.port);
        matchInput.SetLink(std::move(session));
#else
        error = "this tintorix was built without ENet";
#endif
        if (!error.empty()) {
            std::fprintf(stderr, "tintorix: cannot %s: %s\n", options.host ? "host" : "join", error.c_str());
            return 1;
        }
    }
    InstallPlatform();
    int exitCode = WinMain(theApp, nullptr);
    ShutdownPlatform();
    // A replay that played differently has said so; its exit code says so too.
    return exitCode == 0 && matchInput.GetReplayEnd() == XMatchInput::ReplayEnd::Different ? 1 : exitCode;
}
