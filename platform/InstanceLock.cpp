#include "platform/InstanceLock.h"

#include <cerrno>
#include <cstdlib>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include "shell/Shell.h"

std::string InstanceLockPath() {
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    if (runtime && *runtime) {
        return std::string(runtime) + "/" + kWindowClassName + ".lock";
    }
    const char* temp = std::getenv("TMPDIR");
    std::string dir = temp && *temp ? temp : "/tmp";
    return dir + "/" + kWindowClassName + "-" + std::to_string(getuid()) + ".lock";
}

int TakeInstanceLock(const std::string& path) {
    int fd = open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
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
