#include "shell/XMatchInput.h"

#include <unistd.h>

#include <cinttypes>
#include <cstdio>

#include "base/Files.h"
#include "gfx/Maths.h"
#include "shell/XReplay.h"

XMatchInput::XMatchInput() = default;

XMatchInput::~XMatchInput() = default;

std::string XMatchInput::LoadReplay(const std::string& path, XMenuData* settings) {
    auto loaded = std::make_unique<XReplay>();
    std::string error = loaded->Load(path);
    if (!error.empty()) {
        return error;
    }
    loaded->GiveSettings(settings);
    replay = std::move(loaded);
    replayPath = path;
    replayEnd = ReplayEnd::NotYet;
    return {};
}

std::string XMatchInput::RecordNextMatch(const std::string& path) {
    // Said at the start, not after a whole match.
    if (path.empty() || path.back() == '/' || access(DirectoryOfFile(path).c_str(), W_OK | X_OK) != 0) {
        return "no file can be written there";
    }
    recordPath = path;
    return {};
}

void XMatchInput::BeginMatch(const XMenuData& settings) {
    recording.reset();
    inMatch = true;
    holdForOthers = false;
    frame = 0;
    if (link && !replay) {
        // The host chooses the seed, so it is in place before a recording notes it.
        link->BeginMatch(settings);
    }
    if (replay) {
        SeedRandomWith(replay->seed);
        replayFrame = 0;
    } else if (!recordPath.empty()) {
        recording = std::make_unique<XReplay>();
        recording->TakeSettings(settings);
        recording->seed = GetRandomState();
    }
}

void XMatchInput::BeginRankingRound() {
    if (!recordPath.empty() && !rankingNoted) {
        std::fprintf(stderr, "%s: %s: a ranking round is not recorded, only a battle match\n", programName,
                     recordPath.c_str());
        rankingNoted = true;
    }
}

XFrameInput XMatchInput::Next(const XFrameInput& local) {
    ++frame;
    if (replay) {
        // Past its end a replay steers nobody; the match then ends differently from the recording.
        ++replayFrame;
        return replayFrame <= replay->frames.size() ? replay->frames[replayFrame - 1] : XFrameInput{};
    }
    if (recording && recording->frames.size() == XReplay::kMaxFrames) {
        std::fprintf(stderr, "%s: cannot record %s: the match is too long\n", programName,
                     recordPath.c_str());
        recording.reset();
        recordPath.clear();
    }
    XFrameInput frame = link ? link->Exchange(local) : local;
    if (recording) {
        recording->frames.push_back(frame);
    }
    return frame;
}

XFrameInput XMatchInput::Rerun(uint32_t at) {
    XFrameInput input = link->Rerun(at);
    if (recording && at >= 1 && at <= recording->frames.size()) {
        recording->frames[at - 1] = input;
    }
    return input;
}

void XMatchInput::EndMatch(uint64_t checksum, bool left) {
    std::string stopped = GetStopReason();
    inMatch = false;
    if (link) {
        link->EndMatch();
    }
    if (recording && !stopped.empty()) {
        // Nothing in the frames says why the match stopped, so it would not play the same.
        std::fprintf(stderr, "%s: not recorded to %s: %s\n", programName, recordPath.c_str(),
                     stopped.c_str());
        recording.reset();
        recordPath.clear();
    }
    if (replay) {
        bool same = checksum == replay->checksum && replayFrame == replay->frames.size();
        replayEnd = left ? ReplayEnd::Left : same ? ReplayEnd::Same : ReplayEnd::Different;
        if (replayEnd == ReplayEnd::Different) {
            std::fprintf(stderr,
                         "%s: %s: the match played differently than recorded by %s (checksum %016" PRIx64
                         ", recorded %016" PRIx64 ")\n",
                         programName, replayPath.c_str(), replay->gameVersion.c_str(), checksum,
                         replay->checksum);
        }
        replay.reset();
    } else if (recording) {
        recording->checksum = checksum;
        if (!recording->Save(recordPath)) {
            std::fprintf(stderr, "%s: cannot record %s: the file cannot be written\n", programName,
                         recordPath.c_str());
        }
        recording.reset();
        recordPath.clear();
    }
}
