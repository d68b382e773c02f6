// Large blocks on huge pages for the trendix command.
//
// Rendering a file of a million samples moves some 60 MB through fresh memory: the values read
// from the file, the variables' samples, the device points. On 4 KiB pages every first touch
// of a page is a fault, and those faults were a third of such a render's time. Blocks of a
// megabyte or more are advised onto transparent huge pages before anything touches them,
// where the system grants huge pages on advice. Only the command-line program does this: the
// libraries leave allocation to the program that hosts them.
#include <sys/mman.h>

#include <cstdint>
#include <cstdlib>
#include <new>

namespace {

constexpr std::size_t kLargeBlock = std::size_t(1) << 20;
constexpr std::uintptr_t kHugePage = std::uintptr_t(2) << 20;

void AdviseHugePages(void* block, std::size_t size) {
    // Only whole huge pages inside the block can be backed by one.
    const auto start = reinterpret_cast<std::uintptr_t>(block);
    const std::uintptr_t begin = (start + kHugePage - 1) & ~(kHugePage - 1);
    const std::uintptr_t end = (start + size) & ~(kHugePage - 1);
    if (end > begin) madvise(reinterpret_cast<void*>(begin), end - begin, MADV_HUGEPAGE);
}

void* TryAllocate(std::size_t size) noexcept {
    void* block = std::malloc(size ? size : 1);
    if (block && size >= kLargeBlock) AdviseHugePages(block, size);
    return block;
}

void* Allocate(std::size_t size) {
    // As the library's own allocation does: the new-handler may free memory and retry.
    for (;;) {
        if (void* block = TryAllocate(size)) return block;
        const std::new_handler handler = std::get_new_handler();
        if (!handler) throw std::bad_alloc();
        handler();
    }
}

} // namespace

void* operator new(std::size_t size) {
    return Allocate(size);
}
void* operator new[](std::size_t size) {
    return Allocate(size);
}
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    return TryAllocate(size);
}
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
    return TryAllocate(size);
}
void operator delete(void* block) noexcept {
    std::free(block);
}
void operator delete[](void* block) noexcept {
    std::free(block);
}
void operator delete(void* block, std::size_t) noexcept {
    std::free(block);
}
void operator delete[](void* block, std::size_t) noexcept {
    std::free(block);
}
void operator delete(void* block, const std::nothrow_t&) noexcept {
    std::free(block);
}
void operator delete[](void* block, const std::nothrow_t&) noexcept {
    std::free(block);
}
