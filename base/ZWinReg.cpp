#include "base/ZWinReg.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include "base/Files.h"

namespace {

constexpr std::string_view kHeader = "Windows Registry Editor Version 5.00";
constexpr std::string_view kRootName = "HKEY_CURRENT_USER";
// Windows refuses string values of this many bytes or more, terminator included.
constexpr size_t kMaxStringBytes = 256;

bool EqualNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (size_t i = 0; i < a.size(); ++i) {
        unsigned char x = static_cast<unsigned char>(a[i]);
        unsigned char y = static_cast<unsigned char>(b[i]);
        if ((x >= 'A' && x <= 'Z' ? x + 32 : x) != (y >= 'A' && y <= 'Z' ? y + 32 : y)) {
            return false;
        }
    }
    return true;
}

std::string Lower(std::string_view text) {
    std::string lower(text);
    for (char& c : lower) {
        c = c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c;
    }
    return lower;
}

// Blanks on both sides go, and every trailing carriage return, so that what a hand edit or the writer
// puts out reads back the same.
std::string_view Trim(std::string_view line) {
    while (!line.empty() && (line.back() == ' ' || line.back() == '\t' || line.back() == '\r')) {
        line.remove_suffix(1);
    }
    while (!line.empty() && (line.front() == ' ' || line.front() == '\t')) {
        line.remove_prefix(1);
    }
    return line;
}

size_t SkipBlanks(std::string_view text, size_t pos) {
    while (pos < text.size() && (text[pos] == ' ' || text[pos] == '\t')) {
        ++pos;
    }
    return pos;
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// Reads a quoted, escaped text starting at text[pos] == '"'; pos ends after the closing quote.
bool ReadQuoted(std::string_view text, size_t& pos, std::string& out) {
    if (pos >= text.size() || text[pos] != '"') {
        return false;
    }
    out.clear();
    for (++pos; pos < text.size(); ++pos) {
        char c = text[pos];
        if (c == '"') {
            ++pos;
            return true;
        }
        if (c != '\\') {
            out.push_back(c);
            continue;
        }
        if (++pos >= text.size()) {
            return false;
        }
        char e = text[pos];
        if (e == '\\' || e == '"') {
            out.push_back(e);
        } else if (e == 'x' && pos + 2 < text.size() && HexDigit(text[pos + 1]) >= 0 && HexDigit(text[pos + 2]) >= 0) {
            out.push_back(static_cast<char>(HexDigit(text[pos + 1]) * 16 + HexDigit(text[pos + 2])));
            pos += 2;
        } else {
            return false;
        }
    }
    return false;
}

void WriteQuoted(std::string& out, std::string_view text) {
    static const char kHex[] = "0123456789ABCDEF";
    out.push_back('"');
    for (char c : text) {
        unsigned char u = static_cast<unsigned char>(c);
        if (c == '\\' || c == '"') {
            out.push_back('\\');
            out.push_back(c);
        } else if (u < 0x20 || u > 0x7E) {
            out += "\\x";
            out.push_back(kHex[u >> 4]);
            out.push_back(kHex[u & 15]);
        } else {
            out.push_back(c);
        }
    }
    out.push_back('"');
}

void WriteValue(std::string& out, const RegistryValue& value) {
    WriteQuoted(out, value.name);
    out.push_back('=');
    if (value.isString) {
        WriteQuoted(out, value.data);
    } else {
        out += value.data;
    }
    out.push_back('\n');
}

// The name of a value line, lower-cased; empty for any other line.
std::string ValueName(std::string_view trimmed) {
    std::string name;
    size_t at = 0;
    return !trimmed.empty() && trimmed.front() == '"' && ReadQuoted(trimmed, at, name) ? Lower(name) : "";
}

bool IsSectionLine(std::string_view trimmed) {
    return trimmed.size() >= 2 && trimmed.front() == '[' && trimmed.back() == ']';
}

std::string SectionName(std::string_view keyPath) {
    std::string section(kRootName);
    section.push_back('\\');
    section.append(keyPath);
    return section;
}

bool MakeDirectories(const std::string& path) {
    for (size_t slash = path.find('/', 1); ; slash = path.find('/', slash + 1)) {
        std::string prefix = path.substr(0, slash);
        if (mkdir(prefix.c_str(), 0700) != 0 && errno != EEXIST) {
            return false;
        }
        if (slash == std::string::npos) {
            return true;
        }
    }
}

// The damaged file stays beside the new one as ".bad", one copy, an older one replaced. False when it
// cannot be kept: then it is not written over either.
bool KeepAside(const std::string& path) {
    std::string bad = path + ".bad";
    unlink(bad.c_str());
    return link(path.c_str(), bad.c_str()) == 0 || std::rename(path.c_str(), bad.c_str()) == 0;
}

}  // namespace

ZWinReg::ZWinReg() = default;

ZWinReg::~ZWinReg() { Close(); }

std::string ZWinReg::RegistryFilePath(std::string_view keyPath) {
    std::string base;
    const char* config = std::getenv("XDG_CONFIG_HOME");
    if (config && config[0] == '/') {
        base = config;
    } else {
        const char* home = std::getenv("HOME");
        if (!home || home[0] != '/') {
            const passwd* entry = getpwuid(getuid());
            home = entry ? entry->pw_dir : nullptr;
        }
        if (!home || home[0] != '/') {
            return {};
        }
        base = std::string(home) + "/.config";
    }
    std::vector<std::string_view> parts;
    for (size_t start = 0; start <= keyPath.size();) {
        size_t end = keyPath.find('\\', start);
        if (end == std::string_view::npos) {
            end = keyPath.size();
        }
        std::string_view part = keyPath.substr(start, end - start);
        if (part == "." || part == ".." || part.find('/') != std::string_view::npos) {
            return {};
        }
        if (!part.empty() && !(parts.empty() && EqualNoCase(part, "Software") && end < keyPath.size())) {
            parts.push_back(part);
        }
        start = end + 1;
    }
    if (parts.empty()) {
        return {};
    }
    std::string path = base;
    for (std::string_view part : parts) {
        path.push_back('/');
        path.append(part);
    }
    return path + "/registry.reg";
}

std::vector<RegistryValue> ZWinReg::ParseRegistryText(std::string_view text, std::string_view keyPath,
                                                      bool* wellFormed) {
    const std::string section = SectionName(keyPath);
    std::vector<RegistryValue> values;
    std::unordered_map<std::string, size_t> seen;
    bool header = false;
    bool inKey = false;
    bool seenKey = false;
    if (wellFormed) {
        *wellFormed = false;
    }
    if (text.substr(0, 3) == "\xEF\xBB\xBF") {
        text.remove_prefix(3);
    }
    for (size_t pos = 0; pos < text.size();) {
        size_t end = text.find('\n', pos);
        if (end == std::string_view::npos) {
            end = text.size();
        }
        std::string_view line = Trim(text.substr(pos, end - pos));
        pos = end + 1;
        if (line.empty() || line.front() == ';') {
            continue;
        }
        if (!header) {
            if (line != kHeader) {
                return {};
            }
            header = true;
            continue;
        }
        if (line.front() == '[') {
            if (line.back() != ']') {
                return {};
            }
            inKey = EqualNoCase(line.substr(1, line.size() - 2), section);
            seenKey = seenKey || inKey;
            continue;
        }
        RegistryValue value;
        size_t at = 0;
        if (!ReadQuoted(line, at, value.name) || (at = SkipBlanks(line, at)) >= line.size() || line[at] != '=') {
            return {};
        }
        at = SkipBlanks(line, at + 1);
        std::string data;
        size_t after = at;
        value.isString = ReadQuoted(line, after, data) && after == line.size();
        value.data = value.isString ? data : std::string(line.substr(at));
        if (!inKey) {
            continue;
        }
        // A name given twice: the later line wins, as an import would leave it.
        auto [found, added] = seen.try_emplace(Lower(value.name), values.size());
        if (added) {
            values.push_back(std::move(value));
        } else {
            values[found->second] = std::move(value);
        }
    }
    if (wellFormed) {
        *wellFormed = header;
    }
    return seenKey ? values : std::vector<RegistryValue>{};
}

std::string ZWinReg::FormatRegistryText(const std::vector<RegistryValue>& values, std::string_view keyPath) {
    std::string text(kHeader);
    text += "\n\n[";
    text += SectionName(keyPath);
    text += "]\n";
    for (const RegistryValue& value : values) {
        WriteValue(text, value);
    }
    return text;
}

std::string ZWinReg::RewriteRegistryText(std::string_view original, const std::vector<RegistryValue>& values,
                                         std::string_view keyPath) {
    const std::string section = SectionName(keyPath);
    std::unordered_map<std::string, size_t> index;
    for (size_t i = 0; i < values.size(); ++i) {
        index.emplace(Lower(values[i].name), i);
    }
    // Every line in order, with whether it lies inside the key's section.
    auto walk = [&](auto visit) {
        bool inKey = false;
        for (size_t pos = 0; pos < original.size();) {
            size_t end = std::min(original.find('\n', pos), original.size());
            std::string_view line = original.substr(pos, end - pos), trimmed = Trim(line);
            pos = end + 1;
            bool header = IsSectionLine(trimmed);
            inKey = header ? EqualNoCase(trimmed.substr(1, trimmed.size() - 2), section) : inKey;
            visit(line, trimmed, header, inKey);
        }
    };
    // A value keeps its line; one the text lacks goes after the last line of the key's first section.
    std::vector<bool> hasLine(values.size()), written(values.size());
    walk([&](std::string_view, std::string_view trimmed, bool header, bool inKey) {
        auto found = inKey && !header ? index.find(ValueName(trimmed)) : index.end();
        if (found != index.end()) {
            hasLine[found->second] = true;
        }
    });
    std::string text;
    size_t newValuesAt = std::string::npos;
    int sections = 0;
    walk([&](std::string_view line, std::string_view trimmed, bool header, bool inKey) {
        sections += header && inKey;
        std::string name = inKey && !header ? ValueName(trimmed) : "";
        if (name.empty()) {
            text.append(line).push_back('\n');
        } else if (auto found = index.find(name); found != index.end() && !written[found->second]) {
            // Deleted values and later lines of the same name go.
            WriteValue(text, values[found->second]);
            written[found->second] = true;
        }
        newValuesAt = inKey && sections == 1 && (header || !name.empty()) ? text.size() : newValuesAt;
    });
    std::string added;
    for (size_t i = 0; i < values.size(); ++i) {
        if (!hasLine[i]) {
            WriteValue(added, values[i]);
        }
    }
    if (newValuesAt == std::string::npos && !added.empty()) {
        text += "\n[" + section + "]\n";
        newValuesAt = text.size();
    }
    return text.insert(std::min(newValuesAt, text.size()), added);
}

bool ZWinReg::Create(RegistryRoot, const char* path) {
    Close();
    if (!path) {
        return false;
    }
    std::string file = RegistryFilePath(path);
    if (file.empty() || !MakeDirectories(file.substr(0, file.rfind('/')))) {
        return false;
    }
    std::string text;
    values.clear();
    index.clear();
    FileRead read = ReadRegularFile(file, kMaxFileBytes, text);
    unreadable = read == FileRead::Unreadable;
    damaged = read == FileRead::Damaged;
    original.clear();
    if (read == FileRead::Read) {
        bool wellFormed = false;
        values = ParseRegistryText(text, path, &wellFormed);
        damaged = !wellFormed;
        // A hand-edited file keeps its comments, blank lines and other keys when it is written back.
        original = wellFormed ? std::move(text) : std::string();
    }
    for (size_t i = 0; i < values.size(); ++i) {
        index.emplace(Lower(values[i].name), i);
    }
    keyPath = path;
    filePath = file;
    open = true;
    dirty = false;
    return true;
}

bool ZWinReg::Close() {
    if (!open) {
        return false;
    }
    std::string text = original.empty() ? std::string() : RewriteRegistryText(original, values, keyPath);
    // What the user wrote beside the values is kept only while the file still reads back whole.
    if (text.empty() || text.size() > kMaxFileBytes) {
        text = FormatRegistryText(values, keyPath);
    }
    bool ok = !dirty || (!unreadable && (!damaged || KeepAside(filePath)) && ReplaceFile(filePath, text, 0600));
    open = false;
    original.clear();
    dirty = false;
    values.clear();
    index.clear();
    return ok;
}

RegistryValue* ZWinReg::FindValue(const char* name) {
    auto found = index.find(Lower(name));
    return found == index.end() ? nullptr : &values[found->second];
}

bool ZWinReg::SetString(const char* name, const ZString& text) {
    if (!open || !name) {
        return false;
    }
    RegistryValue* value = FindValue(name);
    if (!value) {
        index.emplace(Lower(name), values.size());
        values.push_back(RegistryValue{name, true, {}});
        value = &values.back();
    }
    value->isString = true;
    value->data = text.GetBuffer();
    dirty = true;
    return true;
}

bool ZWinReg::GetString(const char* name, ZString& text) {
    if (!open || !name) {
        return false;
    }
    const RegistryValue* value = FindValue(name);
    if (!value || !value->isString || value->data.size() + 1 >= kMaxStringBytes) {
        return false;
    }
    // An embedded zero ends the text, as reading it into a C buffer would.
    text = ZString(value->data.c_str());
    return true;
}

bool ZWinReg::DeleteValue(const char* name) {
    if (!open || !name) {
        return false;
    }
    auto found = index.find(Lower(name));
    if (found == index.end()) {
        return false;
    }
    size_t gone = found->second;
    index.erase(found);
    values.erase(values.begin() + static_cast<std::ptrdiff_t>(gone));
    for (auto& entry : index) {
        entry.second -= entry.second > gone ? 1 : 0;
    }
    dirty = true;
    return true;
}
