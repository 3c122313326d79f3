// State files of the Linux service manager: "key=value" lines, replaced atomically.
#include "platform/ServiceStore.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "platform/SystemServices.h"

namespace platform {
namespace {

constexpr size_t kMaxServiceName = 256;  // characters
constexpr mode_t kOwnerOnly = 0700;

std::string Lower(const std::string& text) {
    std::string out = text;
    for (char& c : out) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    return out;
}

std::string Parent(const std::string& path) {
    const size_t slash = path.find_last_of('/');
    return slash == std::string::npos || slash == 0 ? std::string("/") : path.substr(0, slash);
}

// Makes dir (owner only) if missing and checks that it is a real directory of this user that
// nobody else can write to: a file planted by another user must not steer the service manager.
bool MakeOwnDirectory(const std::string& dir) {
    if (mkdir(dir.c_str(), kOwnerOnly) != 0 && errno != EEXIST) {
        return false;
    }
    struct stat info {};
    if (lstat(dir.c_str(), &info) != 0) {
        return false;
    }
    return S_ISDIR(info.st_mode) && info.st_uid == geteuid() && (info.st_mode & 022) == 0;
}

uint32_t ParseNumber(const std::string& text) {
    return static_cast<uint32_t>(std::strtoul(text.c_str(), nullptr, 10));
}

}  // namespace

TServiceStore::TServiceStore(std::string directory) : m_directory(std::move(directory)) {}

std::string TServiceStore::DefaultDirectory() {
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    if (runtime != nullptr && runtime[0] == '/') {
        return std::string(runtime) + "/keyvet/services";
    }
    return "/tmp/keyvet-" + std::to_string(geteuid()) + "/services";
}

uint32_t TServiceStore::Prepare() {
    if (m_directory.empty() || m_directory[0] != '/') {
        return kErrorAccessDenied;
    }
    // The directories are made by the first service created; ones already there must be ours.
    for (const std::string& dir : {Parent(m_directory), m_directory}) {
        if (access(dir.c_str(), F_OK) == 0 && !MakeOwnDirectory(dir)) {
            return kErrorAccessDenied;
        }
    }
    return kErrorSuccess;
}

bool TServiceStore::ValidName(const std::string& name) {
    if (name.empty() || name.size() > kMaxServiceName || name == "." || name == "..") {
        return false;
    }
    for (const char c : name) {
        if (c < 0x20 || c > 0x7E || c == '/' || c == '\\') {
            return false;
        }
    }
    return true;
}

std::string TServiceStore::FileOf(const std::string& name) const {
    return m_directory + "/" + Lower(name);
}

uint32_t TServiceStore::WriteTemporary(const TServiceRecord& record, std::string& tempPath) const {
    static std::atomic<uint32_t> serial{0};
    tempPath = m_directory + "/.new-" + std::to_string(getpid()) + "-" +
               std::to_string(serial.fetch_add(1));
    std::ofstream out(tempPath, std::ios::trunc);
    out << "Name=" << record.Name << "\n"
        << "DisplayName=" << record.DisplayName << "\n"
        << "BinaryPath=" << record.BinaryPath << "\n"
        << "ServiceType=" << record.ServiceType << "\n"
        << "StartType=" << record.StartType << "\n"
        << "ErrorControl=" << record.ErrorControl << "\n"
        << "CurrentState=" << record.CurrentState << "\n";
    out.close();
    if (!out) {
        unlink(tempPath.c_str());
        return kErrorAccessDenied;
    }
    return kErrorSuccess;
}

uint32_t TServiceStore::Create(const TServiceRecord& record) {
    if (!MakeOwnDirectory(Parent(m_directory)) || !MakeOwnDirectory(m_directory)) {
        return kErrorAccessDenied;
    }
    std::string temp;
    if (const uint32_t error = WriteTemporary(record, temp); error != kErrorSuccess) {
        return error;
    }
    // link() refuses an existing name, so two instances creating at once cannot both win.
    const int result = link(temp.c_str(), FileOf(record.Name).c_str());
    const int linkErrno = errno;
    unlink(temp.c_str());
    if (result != 0) {
        return linkErrno == EEXIST ? kErrorServiceExists : kErrorAccessDenied;
    }
    return kErrorSuccess;
}

uint32_t TServiceStore::Load(const std::string& name, TServiceRecord& record) const {
    std::ifstream in(FileOf(name));
    if (!in) {
        return kErrorServiceDoesNotExist;
    }
    TServiceRecord loaded;
    std::string line;
    while (std::getline(in, line)) {
        const size_t equals = line.find('=');
        if (equals == std::string::npos) {
            continue;
        }
        const std::string key = line.substr(0, equals);
        const std::string value = line.substr(equals + 1);
        if (key == "Name") {
            loaded.Name = value;
        } else if (key == "DisplayName") {
            loaded.DisplayName = value;
        } else if (key == "BinaryPath") {
            loaded.BinaryPath = value;
        } else if (key == "ServiceType") {
            loaded.ServiceType = ParseNumber(value);
        } else if (key == "StartType") {
            loaded.StartType = ParseNumber(value);
        } else if (key == "ErrorControl") {
            loaded.ErrorControl = ParseNumber(value);
        } else if (key == "CurrentState") {
            loaded.CurrentState = ParseNumber(value);
        }
    }
    record = loaded;
    return kErrorSuccess;
}

uint32_t TServiceStore::Save(const TServiceRecord& record) {
    if (access(FileOf(record.Name).c_str(), F_OK) != 0) {
        return kErrorServiceDoesNotExist;
    }
    std::string temp;
    if (const uint32_t error = WriteTemporary(record, temp); error != kErrorSuccess) {
        return error;
    }
    if (rename(temp.c_str(), FileOf(record.Name).c_str()) != 0) {
        unlink(temp.c_str());
        return kErrorAccessDenied;
    }
    return kErrorSuccess;
}

uint32_t TServiceStore::Remove(const std::string& name) {
    if (unlink(FileOf(name).c_str()) != 0) {
        return errno == ENOENT ? kErrorServiceDoesNotExist : kErrorAccessDenied;
    }
    // The directories go with the last service; another instance's file keeps them.
    if (rmdir(m_directory.c_str()) == 0) {
        rmdir(Parent(m_directory).c_str());
    }
    return kErrorSuccess;
}

}  // namespace platform
