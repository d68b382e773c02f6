#include "platform/com/ConnectionPoint.h"

#include <algorithm>

namespace com {

std::uint32_t ConnectionPoint::Advise(IEventSink* sink) {
    if (!sink) return 0;
    const std::uint32_t cookie = nextCookie_++;
    connections_.push_back({cookie, sink});
    return cookie;
}

bool ConnectionPoint::Unadvise(std::uint32_t cookie) {
    for (Connection& c : connections_) {
        if (c.cookie == cookie && c.sink) {
            c.sink = nullptr;
            if (firing_ == 0) Compact();
            return true;
        }
    }
    return false;
}

size_t ConnectionPoint::size() const {
    return size_t(std::count_if(connections_.begin(), connections_.end(),
                                [](const Connection& c) { return c.sink != nullptr; }));
}

void ConnectionPoint::Compact() {
    std::erase_if(connections_, [](const Connection& c) { return c.sink == nullptr; });
}

void ConnectionPoint::Fire(DISPID id, std::span<const Variant> args) {
    ++firing_;
    // Index, not iterator: a sink may advise another one and so grow the vector.
    const size_t count = connections_.size();
    for (size_t i = 0; i < count; ++i) {
        IEventSink* sink = connections_[i].sink;
        if (!sink) continue;
        try {
            sink->Invoke(id, args);
        } catch (...) {
            // What a host's handler returns or throws is not the control's concern.
        }
    }
    if (--firing_ == 0) Compact();
}

} // namespace com
