// The virtual input device's key, capabilities and per-open event queues.
#include "VirtualKeyDevice.h"

#include <sys/ioctl.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstring>
#include <utility>

namespace accuracy {
namespace {

constexpr int64_t kNsPerS = 1000000000;
constexpr int64_t kNsPerUs = 1000;

std::string_view Trimmed(std::string_view text) {
    const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
    while (!text.empty() && blank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && blank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

// The bytes of a bit set of codes 0..maxCode, whole longs as the kernel keeps them, with the
// given codes set.
std::vector<uint8_t> BitSet(unsigned maxCode, std::initializer_list<unsigned> codes) {
    constexpr unsigned kLongBits = 8 * sizeof(long);
    std::vector<uint8_t> bits((maxCode + kLongBits) / kLongBits * sizeof(long), 0);
    for (const unsigned code : codes) {
        bits[code / 8] |= static_cast<uint8_t>(1u << (code % 8));
    }
    return bits;
}

// Hands back the first `room` bytes (what fits the caller's buffer); returns their count.
int BytesReply(std::vector<uint8_t> bits, size_t room, TIoctlReply& reply) {
    bits.resize(std::min(bits.size(), room));
    reply.Result = static_cast<int>(bits.size());
    reply.Out = std::move(bits);
    return 0;
}

template <typename T>
int ValueReply(const T& value, TIoctlReply& reply) {
    reply.Out.resize(sizeof value);
    std::memcpy(reply.Out.data(), &value, sizeof value);
    reply.Result = 0;
    return 0;
}

// The highest code of each kind of event the device reports none of (its bit set is empty).
unsigned MaxCodeOfAbsentKind(unsigned type) {
    switch (type) {
        case EV_REL:
            return REL_MAX;
        case EV_ABS:
            return ABS_MAX;
        case EV_MSC:
            return MSC_MAX;
        case EV_SW:
            return SW_MAX;
        case EV_LED:
            return LED_MAX;
        case EV_SND:
            return SND_MAX;
        case EV_FF:
            return FF_MAX;
        default:
            return 0;
    }
}

}  // namespace

std::optional<TInjectedChange> ParseControlLine(std::string_view line) {
    line = Trimmed(line);
    const size_t blank = line.find_first_of(" \t");
    if (blank == std::string_view::npos) {
        return std::nullopt;
    }
    const std::string_view word = line.substr(0, blank);
    const std::string_view number = Trimmed(line.substr(blank));
    if ((word != "down" && word != "up") || number.empty() || number.front() < '0' ||
        number.front() > '9') {
        return std::nullopt;
    }
    int64_t ns = 0;
    const auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), ns);
    if (error != std::errc() || end != number.data() + number.size()) {
        return std::nullopt;
    }
    return TInjectedChange{word == "down", ns};
}

TVirtualKeyDevice::TVirtualKeyDevice(uint16_t code, std::function<TClockReadings()> clocks)
    : m_code(std::min<uint16_t>(code, KEY_MAX)), m_clocks(std::move(clocks)) {}

uint64_t TVirtualKeyDevice::Open() {
    const uint64_t open = m_nextOpen++;
    m_opens.emplace(open, TOpen{});
    return open;
}

void TVirtualKeyDevice::Close(uint64_t open) {
    m_opens.erase(open);
}

input_event TVirtualKeyDevice::Event(const TOpen& open, const TClockReadings& now, int64_t ns,
                                     uint16_t type, uint16_t code, int32_t value) {
    switch (open.Clock) {
        case CLOCK_REALTIME:
            ns += now.RealtimeNs - now.MonotonicNs;
            break;
        case CLOCK_BOOTTIME:
            ns += now.BoottimeNs - now.MonotonicNs;
            break;
        default:
            break;
    }
    ns = std::max<int64_t>(ns, 0);
    input_event event{};
    event.input_event_sec = static_cast<decltype(event.input_event_sec)>(ns / kNsPerS);
    event.input_event_usec = static_cast<decltype(event.input_event_usec)>(ns % kNsPerS / kNsPerUs);
    event.type = type;
    event.code = code;
    event.value = value;
    return event;
}

void TVirtualKeyDevice::Queue(TOpen& open, const std::vector<input_event>& packet) {
    if (open.Queue.size() + packet.size() > kQueueEvents) {
        open.Queue.clear();
        input_event dropped = packet.front();
        dropped.type = EV_SYN;
        dropped.code = SYN_DROPPED;
        dropped.value = 0;
        open.Queue.push_back(dropped);
    }
    open.Queue.insert(open.Queue.end(), packet.begin(), packet.end());
}

bool TVirtualKeyDevice::Change(const TInjectedChange& change) {
    if (change.Down == m_down) {
        return false;
    }
    m_down = change.Down;
    const TClockReadings now = m_clocks();
    for (auto& [number, open] : m_opens) {
        Queue(open, {Event(open, now, change.MonotonicNs, EV_KEY, m_code, m_down ? 1 : 0),
                     Event(open, now, change.MonotonicNs, EV_SYN, SYN_REPORT, 0)});
    }
    return true;
}

int TVirtualKeyDevice::Read(uint64_t number, size_t maxBytes, std::vector<input_event>& events) {
    const auto found = m_opens.find(number);
    if (found == m_opens.end()) {
        return EBADF;
    }
    if (maxBytes < sizeof(input_event)) {
        return EINVAL;
    }
    std::deque<input_event>& queue = found->second.Queue;
    if (queue.empty()) {
        return EAGAIN;
    }
    const size_t count = std::min(queue.size(), maxBytes / sizeof(input_event));
    events.assign(queue.begin(), queue.begin() + static_cast<std::ptrdiff_t>(count));
    queue.erase(queue.begin(), queue.begin() + static_cast<std::ptrdiff_t>(count));
    return 0;
}

bool TVirtualKeyDevice::Waiting(uint64_t number) const {
    const auto found = m_opens.find(number);
    return found != m_opens.end() && !found->second.Queue.empty();
}

int TVirtualKeyDevice::SetClock(TOpen& open, const std::vector<uint8_t>& in) {
    int clock = 0;
    if (in.size() < sizeof clock) {
        return EINVAL;
    }
    std::memcpy(&clock, in.data(), sizeof clock);
    if (clock != CLOCK_REALTIME && clock != CLOCK_MONOTONIC && clock != CLOCK_BOOTTIME) {
        return EINVAL;
    }
    if (clock != open.Clock) {
        open.Clock = clock;
        // Events stamped on the old clock are of no use to the reader: it learns they were
        // dropped.
        if (!open.Queue.empty()) {
            const TClockReadings now = m_clocks();
            open.Queue.clear();
            open.Queue.push_back(Event(open, now, now.MonotonicNs, EV_SYN, SYN_DROPPED, 0));
        }
    }
    return 0;
}

void TVirtualKeyDevice::DropKeyEvents(TOpen& open) {
    std::deque<input_event> kept;
    // A report at the head may close a packet whose events were read before: it stays.
    bool packetKept = true;
    for (const input_event& event : open.Queue) {
        if (event.type == EV_KEY) {
            ++m_droppedByStateReads;
            continue;
        }
        if (event.type == EV_SYN && event.code == SYN_REPORT) {
            if (!packetKept) {
                continue;
            }
            packetKept = false;
        } else {
            packetKept = true;
        }
        kept.push_back(event);
    }
    open.Queue = std::move(kept);
}

int TVirtualKeyDevice::Ioctl(uint64_t number, unsigned request, const std::vector<uint8_t>& in,
                             TIoctlReply& reply) {
    reply = TIoctlReply{};
    const auto found = m_opens.find(number);
    if (found == m_opens.end()) {
        return EBADF;
    }
    if (_IOC_TYPE(request) != 'E') {
        return ENOTTY;
    }
    if (request == EVIOCSCLOCKID) {
        return SetClock(found->second, in);
    }
    if (request == EVIOCGVERSION) {
        return ValueReply(static_cast<int>(EV_VERSION), reply);
    }
    if (request == EVIOCGID) {
        return ValueReply(input_id{BUS_VIRTUAL, 0, 0, 1}, reply);
    }
    if (_IOC_DIR(request) != _IOC_READ) {
        return EINVAL;
    }
    const size_t room = _IOC_SIZE(request);
    const unsigned kind = _IOC_NR(request);
    if (kind == _IOC_NR(EVIOCGNAME(0))) {
        std::vector<uint8_t> name(kName.begin(), kName.end());
        name.push_back(0);
        return BytesReply(std::move(name), room, reply);
    }
    if (kind == _IOC_NR(EVIOCGKEY(0))) {
        DropKeyEvents(found->second);
        return BytesReply(m_down ? BitSet(KEY_MAX, {m_code}) : BitSet(KEY_MAX, {}), room, reply);
    }
    if (kind == _IOC_NR(EVIOCGBIT(0, 0))) {
        return BytesReply(BitSet(EV_MAX, {EV_SYN, EV_KEY}), room, reply);
    }
    if (kind == _IOC_NR(EVIOCGBIT(EV_KEY, 0))) {
        return BytesReply(BitSet(KEY_MAX, {m_code}), room, reply);
    }
    if (kind > _IOC_NR(EVIOCGBIT(0, 0)) && kind <= _IOC_NR(EVIOCGBIT(EV_MAX, 0))) {
        const unsigned maxCode = MaxCodeOfAbsentKind(kind - _IOC_NR(EVIOCGBIT(0, 0)));
        if (maxCode != 0) {
            return BytesReply(BitSet(maxCode, {}), room, reply);
        }
    }
    return EINVAL;
}

}  // namespace accuracy
