#include "shell/XReplay.h"

#include <algorithm>

#include "base/Files.h"
#include "base/LittleEndian.h"
#include "base/ZChecksum.h"
#include "shell/Options.h"
#include "shell/XMenuData.h"

namespace {

constexpr std::string_view kMagic = "TXREPLAY";
constexpr size_t kMaxVersionBytes = 64;
constexpr int32_t kControlNone = 2;

void PutInt(std::string& out, uint64_t value, int size) { PutLittleEndian(out, value, size); }

// Seven bits a byte, the lowest first; the top bit says another byte follows.
void PutCount(std::string& out, uint64_t value) {
    for (; value >= 128; value >>= 7) {
        out.push_back(static_cast<char>((value & 127) | 128));
    }
    out.push_back(static_cast<char>(value));
}

uint64_t Hash(std::string_view bytes) {
    ZChecksum hash;
    hash.Add(bytes);
    return hash.Get();
}

// Reads past the end give zeros and mark the bytes as ended.
class Reader {
public:
    explicit Reader(std::string_view bytes) : bytes(bytes) {}

    std::string_view Take(size_t size) {
        if (bytes.size() - at < size) {
            ended = true;
            at = bytes.size();
            return {};
        }
        at += size;
        return bytes.substr(at - size, size);
    }
    uint64_t Int(size_t size) {
        uint64_t value = 0;
        std::string_view taken = Take(size);
        for (size_t i = 0; i < taken.size(); ++i) {
            value |= static_cast<uint64_t>(static_cast<uint8_t>(taken[i])) << (8 * i);
        }
        return value;
    }
    // Four bytes at most; a longer count reads as too big for anything.
    uint64_t Count() {
        uint64_t value = 0;
        for (int i = 0; i < 4; ++i) {
            uint64_t byte = Int(1);
            value |= (byte & 127) << (7 * i);
            if (byte < 128) {
                return value;
            }
        }
        return UINT64_MAX;
    }

    std::string_view bytes;
    size_t at = 0;
    bool ended = false;
};

}  // namespace

XReplay::XReplay() : gameVersion(VersionText()) {}

XReplay::~XReplay() = default;

void XReplay::TakeSettings(const XMenuData& settings) {
    winsNeeded = settings.GetWinsNeeded();
    singleBattle = settings.IsSingleBattle();
    for (int i = 0; i < 4; ++i) {
        controlType[i] = settings.GetControlType(i);
    }
}

void XReplay::GiveSettings(XMenuData* settings) const {
    settings->SetDefaults();
    settings->SetWinsNeeded(winsNeeded);
    settings->SetSingleBattle(singleBattle);
    for (int i = 0; i < 4; ++i) {
        settings->SetControlType(i, controlType[i]);
    }
}

std::string XReplay::Format() const {
    std::string out(kMagic);
    PutInt(out, kFormatVersion, 1);
    std::string_view version = std::string_view(gameVersion).substr(0, kMaxVersionBytes);
    PutInt(out, version.size(), 1);
    out += version;
    PutInt(out, static_cast<uint64_t>(winsNeeded), 1);
    PutInt(out, static_cast<uint64_t>(singleBattle), 1);
    for (int32_t type : controlType) {
        PutInt(out, static_cast<uint64_t>(type), 1);
    }
    PutInt(out, seed, 4);
    PutInt(out, frames.size(), 4);
    for (size_t i = 0, run = 0; i < frames.size(); i += run) {
        run = 1;
        while (i + run < frames.size() && frames[i + run] == frames[i]) {
            ++run;
        }
        PutCount(out, run);
        PutInt(out, frames[i].steering, 1);
        // Escape in bit 0, the seats the computer took over in the bits above.
        PutInt(out,
               static_cast<uint64_t>(frames[i].escape) | static_cast<uint64_t>(frames[i].computerSeats) << 1,
               1);
    }
    PutInt(out, checksum, 8);
    PutInt(out, Hash(out), 8);
    return out;
}

std::string XReplay::Parse(std::string_view bytes) {
    std::string_view head = bytes.substr(0, kMagic.size());
    if (head != kMagic.substr(0, head.size())) {
        return "not a Tintorix replay";
    }
    Reader in(bytes);
    in.Take(kMagic.size());
    uint64_t format = in.Int(1);
    if (!in.ended && (format < kFirstReadableVersion || format > kFormatVersion)) {
        return "replay format " + std::to_string(format) + ", this game reads format " +
               std::to_string(kFormatVersion);
    }
    XReplay read;
    uint64_t versionBytes = in.Int(1);
    bool valid = versionBytes <= kMaxVersionBytes;
    read.gameVersion = in.Take(valid ? versionBytes : 0);
    valid = valid && std::all_of(read.gameVersion.begin(), read.gameVersion.end(),
                                 [](char c) { return c >= ' ' && c <= '~'; });
    read.winsNeeded = static_cast<int32_t>(in.Int(1));
    read.singleBattle = static_cast<int32_t>(in.Int(1));
    bool anyone = false;
    for (int32_t& type : read.controlType) {
        type = static_cast<int32_t>(in.Int(1));
        valid = valid && type <= kControlNone;
        anyone = anyone || type != kControlNone;
    }
    read.seed = static_cast<uint32_t>(in.Int(4));
    uint64_t frameCount = in.Int(4);
    // The menu starts no match with every seat empty.
    valid = valid && anyone && read.winsNeeded >= 1 && read.winsNeeded <= 3 && read.singleBattle <= 1 &&
            frameCount <= kMaxFrames;
    while (valid && !in.ended && read.frames.size() < frameCount) {
        uint64_t run = in.Count();
        XFrameInput input;
        input.steering = static_cast<uint8_t>(in.Int(1));
        uint64_t flags = in.Int(1);
        input.escape = (flags & 1) != 0;
        input.computerSeats = static_cast<uint8_t>(flags >> 1);
        valid = run >= 1 && run <= frameCount - read.frames.size() && flags < (format == 1 ? 2u : 32u);
        if (valid && !in.ended) {
            read.frames.insert(read.frames.end(), run, input);
        }
    }
    read.checksum = in.Int(8);
    size_t hashed = in.at;
    uint64_t integrity = in.Int(8);
    if (in.ended) {
        return "the file is truncated";
    }
    if (!valid || in.at != bytes.size() || integrity != Hash(bytes.substr(0, hashed))) {
        return "the file is damaged";
    }
    *this = std::move(read);
    return {};
}

std::string XReplay::Load(const std::string& path) {
    std::string bytes;
    switch (ReadRegularFile(path, kMaxFileBytes, bytes)) {
        case FileRead::Missing: return "no such file";
        case FileRead::Unreadable: return "the file cannot be read";
        case FileRead::Damaged: return "not a regular file of at most 1 MiB";
        case FileRead::Read: break;
    }
    return Parse(bytes);
}

bool XReplay::Save(const std::string& path) const { return ReplaceFile(path, Format(), 0644); }
