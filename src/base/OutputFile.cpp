// Output files written under a temporary name and renamed into place when complete.
#include "base/OutputFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>

#include "base/Exceptions.h"

namespace base {

namespace {
// Tries for a temporary name that no other file has.
constexpr int kNameAttempts = 100;
constexpr mode_t kNewFileMode = 0666;  // before the umask, as for any new file

// The path with a symbolic link followed when it names an existing file; else the path itself.
std::string FollowLink(const std::string& path) {
    struct stat link {};
    if (lstat(path.c_str(), &link) != 0 || !S_ISLNK(link.st_mode)) {
        return path;
    }
    char resolved[PATH_MAX];
    return realpath(path.c_str(), resolved) != nullptr ? std::string(resolved) : path;
}

int ErrnoOr(int fallback) {
    return errno != 0 ? errno : fallback;
}
}  // namespace

TOutputFile::TOutputFile(const std::string& path, const std::string& what)
    : m_path(path), m_target(FollowLink(path)), m_what(what) {
    struct stat existing {};
    const bool exists = stat(m_target.c_str(), &existing) == 0;
    if (exists && !S_ISREG(existing.st_mode)) {
        // A device or pipe is written where it is; a directory fails here with its reason.
        m_stream = std::fopen(m_target.c_str(), "wb");
        if (m_stream == nullptr) {
            throw Exception("Cannot create " + m_what + " '" + m_path +
                            "': " + std::strerror(errno));
        }
        return;
    }
    // Renaming over a file needs only the folder's permission, so a file the user may not write
    // would be replaced all the same: it is refused with the system's reason instead.
    if (exists && faccessat(AT_FDCWD, m_target.c_str(), W_OK, AT_EACCESS) != 0) {
        throw Exception("Cannot create " + m_what + " '" + m_path + "': " + std::strerror(errno));
    }
    int fd = -1;
    for (int attempt = 0; attempt < kNameAttempts && fd < 0; ++attempt) {
        m_temporary = m_target + ".tmp" + std::to_string(getpid()) + "-" + std::to_string(attempt);
        fd = open(m_temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, kNewFileMode);
        if (fd < 0 && errno != EEXIST) {
            break;
        }
    }
    if (fd < 0) {
        const int error = errno;
        m_temporary.clear();
        throw Exception("Cannot create " + m_what + " '" + m_path + "': " + std::strerror(error));
    }
    if (exists) {
        // The replacement keeps the permissions of the file it replaces.
        (void)fchmod(fd, existing.st_mode & 07777);
    }
    m_stream = fdopen(fd, "wb");
    if (m_stream == nullptr) {
        const int error = errno;
        close(fd);
        unlink(m_temporary.c_str());
        m_temporary.clear();
        throw Exception("Cannot create " + m_what + " '" + m_path + "': " + std::strerror(error));
    }
}

TOutputFile::~TOutputFile() {
    Discard();
}

void TOutputFile::Write(const void* data, size_t size) {
    if (m_stream != nullptr && m_error == 0 && std::fwrite(data, 1, size, m_stream) != size) {
        m_error = ErrnoOr(EIO);
    }
}

void TOutputFile::Fail(int error) {
    if (m_error == 0) {
        m_error = error;
    }
}

void TOutputFile::Commit() {
    if (m_stream == nullptr) {
        ThrowWriteError(m_error != 0 ? m_error : EBADF);
    }
    errno = 0;
    if (m_error == 0 && (std::fflush(m_stream) != 0 || std::ferror(m_stream) != 0)) {
        m_error = ErrnoOr(EIO);
    }
    // The data reaches the disk before the name does, so a crash cannot leave a partial file
    // under the target's name.
    if (m_error == 0 && !m_temporary.empty() && fsync(fileno(m_stream)) != 0) {
        m_error = ErrnoOr(EIO);
    }
    const int closed = std::fclose(m_stream);
    m_stream = nullptr;
    if (m_error == 0 && closed != 0) {
        m_error = ErrnoOr(EIO);
    }
    if (m_error == 0 && !m_temporary.empty() &&
        std::rename(m_temporary.c_str(), m_target.c_str()) != 0) {
        m_error = ErrnoOr(EIO);
    }
    if (m_error != 0) {
        ThrowWriteError(m_error);
    }
    m_temporary.clear();
}

void TOutputFile::Discard() {
    if (m_stream != nullptr) {
        std::fclose(m_stream);
        m_stream = nullptr;
    }
    if (!m_temporary.empty()) {
        unlink(m_temporary.c_str());
        m_temporary.clear();
    }
}

void TOutputFile::ThrowWriteError(int error) {
    Discard();
    throw Exception("Cannot write " + m_what + " '" + m_path + "': " + std::strerror(error));
}

}  // namespace base
