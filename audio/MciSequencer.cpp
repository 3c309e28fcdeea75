#include "audio/MciSequencer.h"

#include <vector>

namespace {

constexpr std::string_view kAlias = "MUSIC";

char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; }

bool SameWord(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (size_t i = 0; i < a.size(); ++i) {
        if (Lower(a[i]) != Lower(b[i])) {
            return false;
        }
    }
    return true;
}

std::string_view TrimBlanks(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) {
        text.remove_prefix(1);
    }
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) {
        text.remove_suffix(1);
    }
    return text;
}

std::vector<std::string_view> Words(std::string_view text) {
    std::vector<std::string_view> words;
    size_t pos = 0;
    while (pos < text.size()) {
        while (pos < text.size() && (text[pos] == ' ' || text[pos] == '\t')) {
            ++pos;
        }
        size_t start = pos;
        while (pos < text.size() && text[pos] != ' ' && text[pos] != '\t') {
            ++pos;
        }
        if (pos > start) {
            words.push_back(text.substr(start, pos - start));
        }
    }
    return words;
}

}  // namespace

MciSequencer::MciSequencer(std::unique_ptr<MusicPlayer> player, Notifier notifier)
    : player(std::move(player)), notifier(std::move(notifier)) {
    if (this->player) {
        this->player->SetEndHandler([this] { PieceEnded(); });
    }
}

MciSequencer::~MciSequencer() {
    if (player) {
        player->Close();
        player->SetEndHandler(nullptr);
    }
}

void MciSequencer::PieceEnded() {
    // exchange: of an end racing a stop, only one can win the pending notification.
    if (notifyPending.exchange(false) && notifier) {
        notifier(kMciNotifySuccessful);
    }
}

void MciSequencer::EndPending(int code) {
    if (notifyPending.exchange(false) && notifier) {
        notifier(code);
    }
}

uint32_t MciSequencer::SendCommand(std::string_view command) {
    command = TrimBlanks(command);
    size_t blank = command.find_first_of(" \t");
    std::string_view verb = command.substr(0, blank);
    std::string_view rest = blank == std::string_view::npos ? std::string_view() : TrimBlanks(command.substr(blank));
    if (SameWord(verb, "open")) {
        return OpenCommand(rest);
    }
    if (SameWord(verb, "play")) {
        return PlayCommand(rest);
    }
    std::vector<std::string_view> words = Words(rest);
    if (SameWord(verb, "stop") && words.size() == 1) {
        if (!SameWord(words[0], kAlias) || !open) {
            return kMciInvalidDeviceName;
        }
        EndPending(kMciNotifyAborted);
        player->Stop();
        return kMciOk;
    }
    if (SameWord(verb, "close") && words.size() == 1) {
        bool all = SameWord(words[0], "all");
        if (!all && (!SameWord(words[0], kAlias) || !open)) {
            return kMciInvalidDeviceName;
        }
        EndPending(kMciNotifyAborted);
        if (open) {
            player->Close();
        }
        open = false;
        openPath.clear();
        return kMciOk;
    }
    return kMciUnrecognisedCommand;
}

uint32_t MciSequencer::OpenCommand(std::string_view arguments) {
    // The path may hold blanks and quotes of its own, so the fixed tail is matched from the end.
    std::vector<std::string_view> words = Words(arguments);
    if (words.size() < 5 || !SameWord(words[words.size() - 4], "type") ||
        !SameWord(words[words.size() - 3], "sequencer") || !SameWord(words[words.size() - 2], "alias") ||
        !SameWord(words.back(), kAlias)) {
        return kMciUnrecognisedCommand;
    }
    std::string_view path = TrimBlanks(arguments.substr(0, words[words.size() - 4].data() - arguments.data()));
    if (path.size() >= 2 && path.front() == '"' && path.back() == '"') {
        path = path.substr(1, path.size() - 2);
    }
    if (path.empty() || !player) {
        return kMciCannotLoadFile;
    }
    // A new open replaces the old piece.
    EndPending(kMciNotifyAborted);
    if (open) {
        player->Close();
        open = false;
        openPath.clear();
    }
    if (!player->Open(std::string(path))) {
        return kMciCannotLoadFile;
    }
    open = true;
    openPath = std::string(path);
    return kMciOk;
}

uint32_t MciSequencer::PlayCommand(std::string_view arguments) {
    std::vector<std::string_view> words = Words(arguments);
    if (words.empty() || !SameWord(words[0], kAlias) || !open) {
        return kMciInvalidDeviceName;
    }
    bool fromStart = false;
    bool notify = false;
    for (size_t i = 1; i < words.size(); ++i) {
        if (SameWord(words[i], "notify")) {
            notify = true;
        } else if (SameWord(words[i], "from") && i + 1 < words.size() && words[i + 1] == "0") {
            fromStart = true;
            ++i;
        } else {
            return kMciUnrecognisedCommand;
        }
    }
    EndPending(kMciNotifySuperseded);
    // Armed before the player starts, so that even a piece that ends at once is reported.
    notifyPending.store(notify);
    if (!player->Play(fromStart)) {
        notifyPending.store(false);
        return kMciCannotLoadFile;
    }
    return kMciOk;
}
