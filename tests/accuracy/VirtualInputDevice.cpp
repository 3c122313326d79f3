// keyvet-virtual-device [--code N] MOUNTPOINT CONTROL: serves MOUNTPOINT/event0, a file that
// answers read() and ioctl() as an input device with one key does (code N, BTN_LEFT unless told),
// through FUSE, for a machine that cannot make a real one. CONTROL (a named pipe, made when it is
// not there) takes lines "down NS" and "up NS", NS the monotonic clock's nanoseconds at which the
// key changed: each change is queued for every open of the file with that time, and the key state
// follows it. A line "count" prints "count READS IOCTLS NS DROPPED" on standard output: the reads
// and ioctls served so far, the monotonic clock (how often a reader polls the device) and the key
// events that state reads dropped before they were read (changes read without their times). Runs in
// the foreground until SIGTERM or SIGINT, then unmounts. Exit status: 0 after a clean stop, 2 for a
// wrong command line, 3 when the file system cannot be mounted (no FUSE, no right to mount), 1 for
// any other failure.
#define FUSE_USE_VERSION 35
#include <fcntl.h>
#include <fuse3/fuse_lowlevel.h>
#include <poll.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "VirtualKeyDevice.h"

namespace {

constexpr fuse_ino_t kFileInode = 2;
constexpr const char* kFileName = "event0";
constexpr uint16_t kDefaultCode = BTN_LEFT;
constexpr double kAttributeSeconds = 1.0;
constexpr int kExitUsage = 2;
constexpr int kExitNoMount = 3;

int64_t ClockNs(clockid_t clock) {
    constexpr int64_t kNsPerS = 1000000000;
    timespec now{};
    clock_gettime(clock, &now);
    return static_cast<int64_t>(now.tv_sec) * kNsPerS + now.tv_nsec;
}

accuracy::TClockReadings ReadClocks() {
    return {ClockNs(CLOCK_MONOTONIC), ClockNs(CLOCK_REALTIME), ClockNs(CLOCK_BOOTTIME)};
}

// A blocking read that found nothing queued: answered by the next change, or by an interruption.
struct TParkedRead {
    fuse_req_t Request;
    uint64_t Open;
    size_t Size;
};

struct TDaemon {
    explicit TDaemon(uint16_t code) : Device(code, ReadClocks) {}
    std::mutex Lock;  // guards Device and Parked
    accuracy::TVirtualKeyDevice Device;
    std::vector<TParkedRead> Parked;
    time_t Started = time(nullptr);
    std::atomic<uint64_t> Reads{0};
    std::atomic<uint64_t> Ioctls{0};
};

TDaemon& Daemon(fuse_req_t request) {
    return *static_cast<TDaemon*>(fuse_req_userdata(request));
}

struct stat Attributes(const TDaemon& daemon, fuse_ino_t inode) {
    struct stat attributes {};
    attributes.st_ino = inode;
    attributes.st_uid = getuid();
    attributes.st_gid = getgid();
    attributes.st_atime = attributes.st_mtime = attributes.st_ctime = daemon.Started;
    if (inode == FUSE_ROOT_ID) {
        attributes.st_mode = S_IFDIR | 0755;
        attributes.st_nlink = 2;
    } else {
        // Read-only: the key changes only through the control pipe.
        attributes.st_mode = S_IFREG | 0440;
        attributes.st_nlink = 1;
    }
    return attributes;
}

void Reply(fuse_req_t request, const std::vector<input_event>& events) {
    fuse_reply_buf(request, reinterpret_cast<const char*>(events.data()),
                   events.size() * sizeof(input_event));
}

void Lookup(fuse_req_t request, fuse_ino_t parent, const char* name) {
    if (parent != FUSE_ROOT_ID || std::strcmp(name, kFileName) != 0) {
        fuse_reply_err(request, ENOENT);
        return;
    }
    fuse_entry_param entry{};
    entry.ino = kFileInode;
    entry.attr = Attributes(Daemon(request), kFileInode);
    entry.attr_timeout = kAttributeSeconds;
    entry.entry_timeout = kAttributeSeconds;
    fuse_reply_entry(request, &entry);
}

void GetAttributes(fuse_req_t request, fuse_ino_t inode, fuse_file_info*) {
    if (inode != FUSE_ROOT_ID && inode != kFileInode) {
        fuse_reply_err(request, ENOENT);
        return;
    }
    const struct stat attributes = Attributes(Daemon(request), inode);
    fuse_reply_attr(request, &attributes, kAttributeSeconds);
}

void ReadDirectory(fuse_req_t request, fuse_ino_t inode, size_t size, off_t offset,
                   fuse_file_info*) {
    if (inode != FUSE_ROOT_ID) {
        fuse_reply_err(request, ENOTDIR);
        return;
    }
    const char* names[] = {".", "..", kFileName};
    const fuse_ino_t inodes[] = {FUSE_ROOT_ID, FUSE_ROOT_ID, kFileInode};
    std::vector<char> buffer(size);
    size_t used = 0;
    for (off_t i = offset; i < 3; ++i) {
        const struct stat attributes = Attributes(Daemon(request), inodes[i]);
        const size_t entry = fuse_add_direntry(request, buffer.data() + used, size - used, names[i],
                                               &attributes, i + 1);
        if (entry > size - used) {
            break;
        }
        used += entry;
    }
    fuse_reply_buf(request, buffer.data(), used);
}

void OpenFile(fuse_req_t request, fuse_ino_t inode, fuse_file_info* file) {
    if (inode != kFileInode) {
        fuse_reply_err(request, EISDIR);
        return;
    }
    if ((file->flags & O_ACCMODE) != O_RDONLY) {
        fuse_reply_err(request, EACCES);
        return;
    }
    TDaemon& daemon = Daemon(request);
    {
        const std::lock_guard<std::mutex> hold(daemon.Lock);
        file->fh = daemon.Device.Open();
    }
    // Every read reaches the device (no page cache) and reads where the queue is, not at an
    // offset.
    file->direct_io = 1;
    file->nonseekable = 1;
    fuse_reply_open(request, file);
}

void Release(fuse_req_t request, fuse_ino_t, fuse_file_info* file) {
    TDaemon& daemon = Daemon(request);
    const std::lock_guard<std::mutex> hold(daemon.Lock);
    daemon.Device.Close(file->fh);
    fuse_reply_err(request, 0);
}

// A parked read's caller was interrupted by a signal: its read ends with EINTR.
void Interrupted(fuse_req_t request, void* data) {
    TDaemon& daemon = *static_cast<TDaemon*>(data);
    bool parked = false;
    {
        const std::lock_guard<std::mutex> hold(daemon.Lock);
        for (auto it = daemon.Parked.begin(); it != daemon.Parked.end(); ++it) {
            if (it->Request == request) {
                daemon.Parked.erase(it);
                parked = true;
                break;
            }
        }
    }
    if (parked) {
        fuse_reply_err(request, EINTR);
    }
}

void Read(fuse_req_t request, fuse_ino_t, size_t size, off_t, fuse_file_info* file) {
    TDaemon& daemon = Daemon(request);
    ++daemon.Reads;
    std::vector<input_event> events;
    int error = 0;
    bool wait = false;
    {
        const std::lock_guard<std::mutex> hold(daemon.Lock);
        error = daemon.Device.Read(file->fh, size, events);
        // The flags of the read, not of the open: a caller may have changed O_NONBLOCK since.
        if (error == EAGAIN && (file->flags & O_NONBLOCK) == 0) {
            wait = true;
            error = 0;
        }
    }
    if (error != 0) {
        fuse_reply_err(request, error);
        return;
    }
    if (!wait) {
        Reply(request, events);
        return;
    }
    // A blocking read waits for the next change. The interruption handler is set before the read
    // is parked; an interruption that came before that is seen by fuse_req_interrupted.
    fuse_req_interrupt_func(request, Interrupted, &daemon);
    {
        const std::lock_guard<std::mutex> hold(daemon.Lock);
        if (!fuse_req_interrupted(request)) {
            daemon.Parked.push_back({request, file->fh, size});
            return;
        }
    }
    fuse_reply_err(request, EINTR);
}

void Ioctl(fuse_req_t request, fuse_ino_t, unsigned int command, void*, fuse_file_info* file,
           unsigned flags, const void* in, size_t inSize, size_t outSize) {
    if ((flags & FUSE_IOCTL_UNRESTRICTED) != 0) {
        fuse_reply_err(request, ENOSYS);
        return;
    }
    TDaemon& daemon = Daemon(request);
    ++daemon.Ioctls;
    const auto* bytes = static_cast<const uint8_t*>(in);
    const std::vector<uint8_t> input(bytes, bytes + (in != nullptr ? inSize : 0));
    accuracy::TIoctlReply reply;
    int error = 0;
    {
        const std::lock_guard<std::mutex> hold(daemon.Lock);
        error = daemon.Device.Ioctl(file->fh, command, input, reply);
    }
    if (error != 0) {
        fuse_reply_err(request, error);
        return;
    }
    reply.Out.resize(std::min(reply.Out.size(), outSize));
    fuse_reply_ioctl(request, reply.Result, reply.Out.data(), reply.Out.size());
}

// Applies one control line and answers the reads parked until it.
void Apply(TDaemon& daemon, const std::string& line) {
    if (line == "count") {
        uint64_t dropped = 0;
        {
            const std::lock_guard<std::mutex> hold(daemon.Lock);
            dropped = daemon.Device.DroppedByStateReads();
        }
        std::printf("count %llu %llu %lld %llu\n",
                    static_cast<unsigned long long>(daemon.Reads.load()),
                    static_cast<unsigned long long>(daemon.Ioctls.load()),
                    static_cast<long long>(ClockNs(CLOCK_MONOTONIC)),
                    static_cast<unsigned long long>(dropped));
        std::fflush(stdout);
        return;
    }
    const std::optional<accuracy::TInjectedChange> change = accuracy::ParseControlLine(line);
    if (!change) {
        std::fprintf(stderr, "keyvet-virtual-device: not a key change (down NS or up NS): '%s'\n",
                     line.c_str());
        return;
    }
    std::vector<std::pair<fuse_req_t, std::vector<input_event>>> answers;
    {
        const std::lock_guard<std::mutex> hold(daemon.Lock);
        if (!daemon.Device.Change(*change)) {
            return;
        }
        for (auto it = daemon.Parked.begin(); it != daemon.Parked.end();) {
            std::vector<input_event> events;
            if (daemon.Device.Read(it->Open, it->Size, events) == 0) {
                answers.emplace_back(it->Request, std::move(events));
                it = daemon.Parked.erase(it);
            } else {
                ++it;
            }
        }
    }
    for (const auto& [request, events] : answers) {
        Reply(request, events);
    }
}

// Reads the control pipe's lines until the stop pipe becomes readable.
void ServeControl(TDaemon& daemon, int control, int stop) {
    std::string pending;
    char buffer[4096];
    for (;;) {
        pollfd watched[2] = {{control, POLLIN, 0}, {stop, POLLIN, 0}};
        if (::poll(watched, 2, -1) < 0) {
            continue;  // interrupted
        }
        if (watched[1].revents != 0) {
            return;
        }
        const ssize_t got = ::read(control, buffer, sizeof buffer);
        if (got <= 0) {
            continue;
        }
        pending.append(buffer, static_cast<size_t>(got));
        for (size_t end = pending.find('\n'); end != std::string::npos; end = pending.find('\n')) {
            const std::string line = pending.substr(0, end);
            pending.erase(0, end + 1);
            if (!line.empty()) {
                Apply(daemon, line);
            }
        }
    }
}

int Usage() {
    std::fprintf(stderr, "usage: keyvet-virtual-device [--code N] MOUNTPOINT CONTROL\n");
    return kExitUsage;
}

}  // namespace

int main(int argc, char** argv) {
    uint16_t code = kDefaultCode;
    int first = 1;
    if (argc > 2 && std::strcmp(argv[1], "--code") == 0) {
        const std::string_view text = argv[2];
        unsigned value = 0;
        const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
        if (error != std::errc() || end != text.data() + text.size() || value > KEY_MAX) {
            std::fprintf(stderr, "keyvet-virtual-device: the code must be 0 to %d\n", KEY_MAX);
            return kExitUsage;
        }
        code = static_cast<uint16_t>(value);
        first = 3;
    }
    if (argc - first != 2) {
        return Usage();
    }
    const char* mountPoint = argv[first];
    const char* controlPath = argv[first + 1];

    // The control pipe: made unless it is there, removed at every exit when made here.
    struct TControlPipe {
        const char* Path = nullptr;
        bool Made = false;
        int Fd = -1;
        ~TControlPipe() {
            if (Fd >= 0) {
                ::close(Fd);
            }
            if (Made) {
                ::unlink(Path);
            }
        }
    } pipe{controlPath};
    if (::mkfifo(controlPath, 0600) == 0) {
        pipe.Made = true;
    } else if (errno != EEXIST) {
        std::fprintf(stderr, "keyvet-virtual-device: cannot make the control pipe %s: %s\n",
                     controlPath, std::strerror(errno));
        return 1;
    }
    // Open for writing too, so that the pipe never reads as ended between two injectors.
    pipe.Fd = ::open(controlPath, O_RDWR | O_CLOEXEC);
    struct stat controlKind {};
    if (pipe.Fd < 0 || ::fstat(pipe.Fd, &controlKind) != 0 || !S_ISFIFO(controlKind.st_mode)) {
        std::fprintf(stderr, "keyvet-virtual-device: %s is not a named pipe I can open\n",
                     controlPath);
        return 1;
    }
    int stop[2];
    if (::pipe2(stop, O_CLOEXEC) != 0) {
        std::perror("keyvet-virtual-device: pipe");
        return 1;
    }

    TDaemon daemon(code);
    fuse_lowlevel_ops operations{};
    operations.lookup = Lookup;
    operations.getattr = GetAttributes;
    operations.readdir = ReadDirectory;
    operations.open = OpenFile;
    operations.release = Release;
    operations.read = Read;
    operations.ioctl = Ioctl;
    char program[] = "keyvet-virtual-device";
    char optionFlag[] = "-o";
    char options[] = "fsname=keyvet-virtual-device,subtype=keyvet-virtual-device";
    char* arguments[] = {program, optionFlag, options, nullptr};
    fuse_args args = FUSE_ARGS_INIT(3, arguments);
    fuse_session* session = fuse_session_new(&args, &operations, sizeof operations, &daemon);
    if (session == nullptr) {
        std::fprintf(stderr, "keyvet-virtual-device: cannot start a FUSE session\n");
        return kExitNoMount;
    }
    if (fuse_set_signal_handlers(session) != 0 || fuse_session_mount(session, mountPoint) != 0) {
        std::fprintf(stderr,
                     "keyvet-virtual-device: cannot mount %s (it takes /dev/fuse and the right "
                     "to mount: root)\n",
                     mountPoint);
        fuse_remove_signal_handlers(session);
        fuse_session_destroy(session);
        return kExitNoMount;
    }
    // The stop signals must reach the thread that waits for FUSE requests, never the control
    // pipe's reader.
    sigset_t stopSignals;
    sigset_t previous;
    sigemptyset(&stopSignals);
    for (const int signal : {SIGTERM, SIGINT, SIGHUP}) {
        sigaddset(&stopSignals, signal);
    }
    pthread_sigmask(SIG_BLOCK, &stopSignals, &previous);
    std::thread reader(ServeControl, std::ref(daemon), pipe.Fd, stop[0]);
    pthread_sigmask(SIG_SETMASK, &previous, nullptr);

    const int served = fuse_session_loop(session);
    const char byte = 0;
    if (::write(stop[1], &byte, 1) != 1) {
        std::perror("keyvet-virtual-device: stopping the control reader");
    }
    reader.join();
    fuse_session_unmount(session);
    fuse_remove_signal_handlers(session);
    fuse_session_destroy(session);
    ::close(stop[0]);
    ::close(stop[1]);
    return served < 0 ? 1 : 0;
}
