// The operating-system services the program relies on, each a small interface: the key state of
// the right mouse button, the millisecond tick count, the monotonic clock, the event pump, the
// message dialog and beep, and the desktop shell. Production code asks Services() for them; a test
// swaps in its own with TScopedServices.
#pragma once

#include <cstdint>
#include <limits>
#include <optional>
#include <string>

namespace platform {

// When a key changed, as the source that saw the change tells it: a moment of the monotonic clock
// (ITimeSource) and how fine the source's own clock is, nanoseconds.
struct TKeyStamp {
    int64_t Ns = 0;
    int64_t ResolutionNs = 0;
};

// What a key source that hands every change over as it happens says of how far its changes are
// settled: all of them, up to this very moment.
inline constexpr int64_t kSettledNow = std::numeric_limits<int64_t>::max();

// The key-state byte of the right mouse button: bit 7 set while it is down, bit 0 the toggle
// state that flips at every press (so 0/1 up, 128/129 down).
class IKeyState {
  public:
    virtual ~IKeyState() = default;
    virtual uint8_t RightButtonState() = 0;
    // The moment the byte took its present value, where the source stamps its changes (a window
    // system's event time, a kernel's event time); none where it only knows the level. The
    // capture logs a change at the poll of that moment rather than the poll that noticed it.
    virtual std::optional<TKeyStamp> ChangeStamp() { return std::nullopt; }
    // Every change that happened before this moment of the monotonic clock has reached the byte.
    // A source that decides its changes late (the sound) hands them over well after they
    // happened, so Finish goes on polling until it has settled past the click; kSettledNow
    // where each change reaches the byte as it happens.
    virtual int64_t SettledNs() { return kSettledNow; }
    // Whether the key is down as far as the source has seen, without taking a change from the
    // capture (a source that keeps its changes until the capture has read them hands them over
    // one per read of the byte): for lamps.
    virtual bool DownNow() { return (RightButtonState() & 0x80) != 0; }
    // A run starts: changes still waiting to be read are taken at once, so that its first poll
    // reads the key as it is now and nothing from before the run is logged.
    virtual void CatchUp() {}
};

// Milliseconds since an arbitrary start, unsigned 32-bit, wrapping.
class IClock {
  public:
    virtual ~IClock() = default;
    virtual uint32_t TickCount() = 0;
};

// The monotonic clock in nanoseconds since an arbitrary start; it never goes back, and it keeps
// running while the process is not (the capture counts its polls in slices of it).
class ITimeSource {
  public:
    virtual ~ITimeSource() = default;
    virtual int64_t MonotonicNs() = 0;
};

// Handles every pending window event, then returns.
class IEventPump {
  public:
    virtual ~IEventPump() = default;
    virtual void ProcessMessages() = 0;
};

// A modal message dialog with one OK button, and the default system beep.
class IDialogs {
  public:
    virtual ~IDialogs() = default;
    virtual void ShowMessage(const std::string& text) = 0;
    virtual void Beep() = 0;
};

// The desktop shell: open an address with the user's program for it; the current directory;
// whether a file is there; where the installed copy of a shipped document is.
class IShell {
  public:
    virtual ~IShell() = default;
    // Asks the desktop to open the address with the user's program for it. False only when no
    // such program could be started at all (the desktop's opener is missing); what the opener
    // does then is the desktop's to show.
    virtual bool Open(const std::string& address) = 0;
    virtual std::string CurrentDirectory() = 0;
    virtual bool FileExists(const std::string& path) = 0;
    // The absolute path of the installed copy of a document the program ships (help.htm), or
    // empty when there is none.
    virtual std::string InstalledDocument(const std::string& name) = 0;
};

// The process-wide current services; none is ever null.
struct TServices {
    IKeyState* KeyState;
    IClock* Clock;
    IEventPump* EventPump;
    IDialogs* Dialogs;
    IShell* Shell;
    ITimeSource* TimeSource = nullptr;  // may be left out: TScopedServices keeps the current one
};

TServices& Services();

// Replaces some services for the lifetime of the guard, restoring the previous ones after.
class TScopedServices {
  public:
    explicit TScopedServices(const TServices& replacement);
    TScopedServices(const TScopedServices&) = delete;
    TScopedServices& operator=(const TScopedServices&) = delete;
    ~TScopedServices();

  private:
    TServices m_saved;
};

}  // namespace platform
