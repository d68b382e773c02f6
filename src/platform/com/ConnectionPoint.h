#pragma once
#include "platform/com/TypeInfo.h"

#include <cstdint>
#include <span>
#include <vector>

namespace com {

// The host's side of an event interface.
class IEventSink {
public:
    virtual ~IEventSink() = default;
    virtual void Invoke(DISPID id, std::span<const Variant> args) = 0;
};

// Connects any number of sinks to the control's events. Events are delivered synchronously;
// a sink may call back into the control, and may advise or unadvise sinks while an event is
// being delivered (a sink advised during delivery first hears the next event).
class ConnectionPoint {
public:
    std::uint32_t Advise(IEventSink* sink); // cookie; 0 for a null sink
    bool Unadvise(std::uint32_t cookie);
    size_t size() const;
    void Fire(DISPID id, std::span<const Variant> args);

private:
    struct Connection {
        std::uint32_t cookie;
        IEventSink* sink; // null once unadvised during delivery
    };
    void Compact();
    std::vector<Connection> connections_;
    std::uint32_t nextCookie_ = 1;
    int firing_ = 0;
};

} // namespace com
