#include "base/Files.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <string_view>

namespace {

// ".registry.reg.PID.XXXXXX": hidden, and named after the process that writes it, so that no user file
// looks like one and a clean-up can tell a dead save's leftovers from a live one.
std::string TemporaryPrefix(const std::string& path) {
    size_t slash = path.rfind('/');
    return path.substr(0, slash + 1) + "." + path.substr(slash + 1) + ".";
}

// Removes the temporaries that saves killed half-way left beside the file; those of a running process
// belong to a save in progress.
void RemoveStaleTemporaries(const std::string& path) {
    std::string prefix = TemporaryPrefix(path).substr(path.rfind('/') + 1);
    DIR* entries = opendir(DirectoryOfFile(path).c_str());
    if (!entries) {
        return;
    }
    while (const dirent* entry = readdir(entries)) {
        std::string_view name = entry->d_name;
        if (name.size() <= prefix.size() + 7 || name.substr(0, prefix.size()) != prefix) {
            continue;
        }
        std::string_view pid = name.substr(prefix.size(), name.size() - prefix.size() - 7);
        if (name[name.size() - 7] != '.' || pid.empty() || pid.size() > 9 ||
            pid.find_first_not_of("0123456789") != std::string_view::npos) {
            continue;
        }
        if (kill(static_cast<pid_t>(std::atol(std::string(pid).c_str())), 0) != 0 && errno == ESRCH) {
            unlinkat(dirfd(entries), entry->d_name, 0);
        }
    }
    closedir(entries);
}

}  // namespace

std::string DirectoryOfFile(const std::string& path) {
    size_t slash = path.rfind('/');
    return slash == std::string::npos ? "." : slash == 0 ? "/" : path.substr(0, slash);
}

// A pipe, a device or a huge file must never hang the game or exhaust its memory.
FileRead ReadRegularFile(const std::string& path, size_t maxBytes, std::string& out) {
    int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        return errno == ENOENT ? FileRead::Missing : FileRead::Unreadable;
    }
    struct stat info;
    FileRead result = FileRead::Read;
    if (fstat(fd, &info) != 0) {
        result = FileRead::Unreadable;
    } else if (!S_ISREG(info.st_mode) || info.st_size > static_cast<off_t>(maxBytes)) {
        result = FileRead::Damaged;
    }
    char block[4096];
    while (result == FileRead::Read) {
        ssize_t got = read(fd, block, sizeof block);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got <= 0) {
            result = got == 0 ? FileRead::Read : FileRead::Unreadable;
            break;
        }
        out.append(block, static_cast<size_t>(got));
        // It grew while being read.
        result = out.size() > maxBytes ? FileRead::Damaged : FileRead::Read;
    }
    close(fd);
    return result;
}

// A temporary file in the same directory, flushed to disk and renamed over the old one.
bool ReplaceFile(const std::string& path, const std::string& text, mode_t mode) {
    RemoveStaleTemporaries(path);
    std::string temp = TemporaryPrefix(path) + std::to_string(getpid()) + ".XXXXXX";
    int fd = mkstemp(temp.data());
    if (fd < 0) {
        return false;
    }
    bool ok = fchmod(fd, mode) == 0;
    for (size_t done = 0; ok && done < text.size();) {
        ssize_t wrote = write(fd, text.data() + done, text.size() - done);
        if (wrote < 0 && errno == EINTR) {
            continue;
        }
        ok = wrote > 0;
        done += ok ? static_cast<size_t>(wrote) : 0;
    }
    ok = ok && fsync(fd) == 0;
    ok = close(fd) == 0 && ok;
    ok = ok && std::rename(temp.c_str(), path.c_str()) == 0;
    if (!ok) {
        unlink(temp.c_str());
        return false;
    }
    int dir = open(DirectoryOfFile(path).c_str(), O_RDONLY | O_DIRECTORY);
    if (dir >= 0) {
        fsync(dir);
        close(dir);
    }
    return true;
}
