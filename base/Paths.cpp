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

ZString FindDataFile(const ZString& exeDirectory, const ZString& fileName,
                     const std::function<bool(const char* path)>& exists) {
    ZString beside(exeDirectory);
    beside.Append(fileName);
    ZString shared(exeDirectory);
    shared.Append(ZString("../share/tintorix/"));
    shared.Append(fileName);
    return exists(beside.GetBuffer()) || !exists(shared.GetBuffer()) ? beside : shared;
}

static bool FileExists(const char* path) {
    return access(path, F_OK) == 0;
}

ZString QuotedExeFilePath(const ZString& fileName) {
    ZString quoted('"');
    quoted.Append(FindDataFile(GetExeDirectory(), fileName, FileExists));
    quoted.Append('"');
    return quoted;
}
