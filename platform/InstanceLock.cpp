#include "platform/InstanceLock.h"

#include <cerrno>
#include <cstdlib>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include "base/ZWinReg.h"
#include "shell/Shell.h"
#include "shell/XAppData.h"

namespace {

bool IsPrivateDirectory(const std::string& path) {
    struct stat info;
    return !path.empty() && stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode) && info.st_uid == getuid() &&
           (info.st_mode & (S_IWGRP | S_IWOTH)) == 0;
}

}  // namespace

std::vector<std::string> InstanceLockPaths() {
    std::vector<std::string> paths;
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    std::string registry = ZWinReg::RegistryFilePath(XAppData::kRegistryKey);
    for (std::string directory : {std::string(runtime ? runtime : ""), registry.substr(0, registry.rfind('/'))}) {
        if (IsPrivateDirectory(directory)) {
            paths.push_back(directory + "/" + kWindowClassName + ".lock");
        }
    }
    return paths;
}

int TakeInstanceLock(const std::string& path) {
    int fd = open(path.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0) {
        return -2;
    }
    if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
        int error = errno;
        close(fd);
        return error == EWOULDBLOCK ? -1 : -2;
    }
    return fd;
}
