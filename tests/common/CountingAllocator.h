#pragma once
// Heap allocation counts for the allocation tests. CountingAllocator.cpp replaces the global
// operators new and delete of the test executable it is linked into; new allocations are
// counted only while a CountingScope lives, live ones always.

// Allocations made while it is alive.
class CountingScope {
public:
    CountingScope();
    ~CountingScope();
    CountingScope(const CountingScope&) = delete;
    CountingScope& operator=(const CountingScope&) = delete;
    long count() const;
};

// Allocations not yet freed, in the whole executable.
long LiveAllocations();
