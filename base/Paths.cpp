#include "base/Paths.h"

#include <unistd.h>

#include <vector>

ZString DirectoryOf(const ZString& path) {
    const char* text = path.GetBuffer();
    for (int i = path.GetLength() - 1; i >= 1; --i) {
        if (text[i] == '/') {
            return path.Mid(0, i);
        }
    }
    return ZString("/");
}

ZString GetExeDirectory() {
    std::vector<char> name(4096);
    for (;;) {
        ssize_t length = readlink("/proc/self/exe", name.data(), name.size());
        if (length < 0) {
            return ZString("/");
        }
        if (static_cast<size_t>(length) < name.size()) {
            name[length] = 0;
            return DirectoryOf(ZString(name.data()));
        }
        name.resize(name.size() * 2);
    }
}

ZString QuotedExeFilePath(const ZString& fileName) {
    ZString quoted('"');
    quoted.Append(GetExeDirectory());
    quoted.Append(fileName);
    quoted.Append('"');
    return quoted;
}
