// Storage for large tables that start as zeros: the memory comes from calloc, which takes it straight from
// the system already zeroed, and a value-initialised element is not written again. Pages of the table that
// are never used are then never touched; zeroing a megabyte and a half of branch table and CP932 tables
// cost a start of the command-line tool about five hundred page faults.
#pragma once

#include <cstdlib>
#include <new>
#include <type_traits>
#include <utility>

namespace quorvel {

// For element types whose value-initialised state is all zero bytes (integers, arrays and plain structs of
// them with zero defaults), in tables made once at their full size: a vector that shrank and grew again
// would find its old values where value-initialisation promises zeros.
template <typename T>
struct ZeroedAllocator {
    static_assert(std::is_trivially_copyable_v<T> && std::is_trivially_destructible_v<T>,
                  "a zeroed table holds plain values");
    using value_type = T;

    ZeroedAllocator() = default;
    template <typename U>
    ZeroedAllocator(const ZeroedAllocator<U>&) {}

    T* allocate(std::size_t n) {
        if (void* p = std::calloc(n, sizeof(T))) return static_cast<T*>(p);
        throw std::bad_alloc();
    }
    void deallocate(T* p, std::size_t) { std::free(p); }

    // The memory is already the zeros value-initialisation would write.
    template <typename U>
    void construct(U*) {}
    template <typename U, typename First, typename... Rest>
    void construct(U* p, First&& first, Rest&&... rest) {
        ::new (static_cast<void*>(p)) U(std::forward<First>(first), std::forward<Rest>(rest)...);
    }

    template <typename U>
    bool operator==(const ZeroedAllocator<U>&) const { return true; }
    template <typename U>
    bool operator!=(const ZeroedAllocator<U>&) const { return false; }
};

}  // namespace quorvel
