#pragma once
// Heap allocation counting for the allocation tests. AllocationHooks.cpp replaces the global
// operators new and delete of the whole test executable it is linked into; new allocations
// are counted only while a CountingScope is alive, live allocations always.

// Allocations made while it is alive.
class CountingScope {
public:
    CountingScope();
    ~CountingScope();
    CountingScope(const CountingScope&) = delete;
    CountingScope& operator=(const CountingScope&) = delete;
    long count() const;
};

// Allocations not yet released, counted since the executable started.
long LiveAllocations();
