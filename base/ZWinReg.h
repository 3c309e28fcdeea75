#pragma once

#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "base/ZString.h"

// Registry roots; the game only uses the current user's.
enum class RegistryRoot { CurrentUser };

// One value of a key as the registry file holds it. Only quoted text is a string value; anything else
// after the '=' is a value of another type, kept verbatim so that rewriting the file preserves it.
struct RegistryValue {
    std::string name;
    bool isString = false;
    std::string data;
};

// One open registry key with typed value access. A key is a text file in the registry editor's
// export format under the user's configuration directory. Values are read when the key is opened and
// written back, the whole file at once and atomically, when it is closed.
class ZWinReg {
public:
    ZWinReg();
    ZWinReg(const ZWinReg&) = delete;
    ZWinReg& operator=(const ZWinReg&) = delete;
    virtual ~ZWinReg();

    bool Create(RegistryRoot root, const char* path);
    // Writes pending changes; false when no key was open or the file could not be replaced.
    bool Close();
    bool SetString(const char* name, const ZString& value);
    // False unless the value exists, is a string and is shorter than 256 bytes with its terminator.
    bool GetString(const char* name, ZString& value);
    // False when no key is open or there is no such value.
    bool DeleteValue(const char* name);

    // The values of a key section in a registry file's text. Text that is not a registry file, or
    // has no section for the key, gives no values; wellFormed tells the two apart. Pure, so it can be
    // fuzzed. Takes what a hand edit leaves: a byte-order mark, blank and ';' comment lines, blanks
    // around '=' and around a line, CRLF line ends.
    static std::vector<RegistryValue> ParseRegistryText(std::string_view text, std::string_view keyPath,
                                                        bool* wellFormed = nullptr);
    static std::string FormatRegistryText(const std::vector<RegistryValue>& values, std::string_view keyPath);
    // The text of a registry file that holds the key with these values, and the rest of the original as it
    // was: its comments, blank lines and other keys. Each value keeps its line, new ones follow the key's.
    static std::string RewriteRegistryText(std::string_view original, const std::vector<RegistryValue>& values,
                                           std::string_view keyPath);
    // The file that holds a key of the current user; empty when the path cannot name one.
    static std::string RegistryFilePath(std::string_view keyPath);

    // The largest file read; anything bigger, or anything but a regular file, reads as damaged.
    static constexpr size_t kMaxFileBytes = 64 * 1024;

private:
    RegistryValue* FindValue(const char* name);

    bool open = false;
    bool dirty = false;
    // A file that could not be read is never written over; a damaged one is kept aside first.
    bool unreadable = false;
    bool damaged = false;
    std::string keyPath;
    std::string filePath;
    // The file's text as read, when it was a registry file.
    std::string original;
    std::vector<RegistryValue> values;
    // Lower-case name -> index into values.
    std::unordered_map<std::string, size_t> index;
};
