#include "fakes/allocation_counter.h"

#include <atomic>
#include <cstdlib>
#include <new>

// A sanitizer replaces malloc itself; a second replacement would fight it.
#if defined(__GLIBC__) && !defined(__SANITIZE_ADDRESS__)
#define COUNTS_MALLOC 1
#endif

namespace
{
std::atomic<bool> counting{false};
std::atomic<int> allocations{0};

void Count()
{
    if (counting.load(std::memory_order_relaxed))
        allocations.fetch_add(1, std::memory_order_relaxed);
}
} // namespace

bool MallocIsCounted()
{
#ifdef COUNTS_MALLOC
    return true;
#else
    return false;
#endif
}

void StartCountingAllocations()
{
    allocations = 0;
    counting = true;
}

int StopCountingAllocations()
{
    counting = false;
    return allocations.load();
}

#ifdef COUNTS_MALLOC
// glibc's own entry points, under the names it exports for programs that
// wrap its allocator. free and the aligned allocators stay glibc's: they work
// on the same heap.
extern "C" void *__libc_malloc(std::size_t size);
extern "C" void *__libc_calloc(std::size_t count, std::size_t size);
extern "C" void *__libc_realloc(void *block, std::size_t size);

extern "C" void *malloc(std::size_t size)
{
    Count();
    return __libc_malloc(size);
}

extern "C" void *calloc(std::size_t count, std::size_t size)
{
    Count();
    return __libc_calloc(count, size);
}

extern "C" void *realloc(void *block, std::size_t size)
{
    Count();
    return __libc_realloc(block, size);
}
#endif

// operator new may not go through malloc (it does not with a sanitizer), so
// it counts on its own; with malloc counted too, one allocation may count
// twice, which makes no difference to a count that must stay at zero.
void *operator new(std::size_t size)
{
    Count();
    if (void *p = std::malloc(size ? size : 1))
        return p;
    throw std::bad_alloc();
}

void operator delete(void *p) noexcept
{
    std::free(p);
}

void operator delete(void *p, std::size_t) noexcept
{
    std::free(p);
}
