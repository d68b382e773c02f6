#pragma once
#include "platform/com/Variant.h"

#include <cstddef>

// A profile record in the host's memory, handed to the control through the PlotVals property:
// a pointer to the record's bytes and their length. The control reads the bytes at once,
// within the length only, and keeps no reference; the host keeps owning them.
class CProfileBlock : public com::Unknown {
public:
    CProfileBlock(const void* data, std::size_t size) : data(data), size(size) {}
    const void* data;
    std::size_t size;
};
