#pragma once
// Allocator for the event matrices. A matrix of a large file runs to tens of
// megabytes that are written right after they are allocated; with ordinary
// 4 KiB pages the first touch of each page costs more than the work done on
// it. Blocks of 4 MiB and more are aligned to 2 MiB and offered to the kernel
// for huge pages; smaller blocks are ordinary allocations.
#include <cstddef>
#include <cstdint>
#include <new>
#include <type_traits>
#include <utility>

#if defined(__linux__)
#include <sys/mman.h>
#endif

namespace qv {

// Offers the whole pages of [p, p + bytes) to the kernel for huge pages: for
// a large buffer from another allocator (a std::string, a std::vector)
// that is about to be written in full. A hint; failure changes nothing.
inline void AdviseHugePages([[maybe_unused]] void* p, [[maybe_unused]] size_t bytes) {
#if defined(__linux__) && defined(MADV_HUGEPAGE)
    constexpr size_t Page = 4096;
    const auto begin = (reinterpret_cast<uintptr_t>(p) + Page - 1) & ~(Page - 1);
    const auto end = (reinterpret_cast<uintptr_t>(p) + bytes) & ~(Page - 1);
    if (end > begin) madvise(reinterpret_cast<void*>(begin), end - begin, MADV_HUGEPAGE);
#endif
}

template <class T>
struct LargeBlockAllocator {
    using value_type = T;

    static constexpr size_t HugePage = size_t{2} << 20;
    static constexpr size_t LargeBlock = size_t{4} << 20;

    LargeBlockAllocator() noexcept = default;
    template <class U>
    LargeBlockAllocator(const LargeBlockAllocator<U>&) noexcept {}

    T* allocate(size_t n) {
        if (n > static_cast<size_t>(-1) / sizeof(T)) throw std::bad_array_new_length();
        const size_t bytes = n * sizeof(T);
        if (bytes < LargeBlock) return static_cast<T*>(::operator new(bytes, std::align_val_t{alignof(T)}));
        void* p = ::operator new(bytes, std::align_val_t{HugePage});
        AdviseHugePages(p, bytes);
        return static_cast<T*>(p);
    }

    void deallocate(T* p, size_t n) noexcept {
        const size_t bytes = n * sizeof(T);
        ::operator delete(p, bytes < LargeBlock ? std::align_val_t{alignof(T)} : std::align_val_t{HugePage});
    }

    // An element made without a value (vector::resize(n)) is left as the
    // memory holds it, for storage that is written in full right after;
    // elements made from a value are copies of it, as usual.
    template <class U>
    void construct(U* p) noexcept(std::is_nothrow_default_constructible_v<U>) {
        ::new (static_cast<void*>(p)) U;
    }
    template <class U, class... Args>
    void construct(U* p, Args&&... args) {
        ::new (static_cast<void*>(p)) U(std::forward<Args>(args)...);
    }

    template <class U>
    bool operator==(const LargeBlockAllocator<U>&) const noexcept { return true; }
};

}  // namespace qv
