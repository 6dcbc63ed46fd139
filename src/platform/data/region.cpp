#include "platform/data/region.h"

#include <sys/mman.h>

#include <cstdint>
#include <new>
#include <utility>

namespace platform {

Region::Region(size_t bytes) {
    if (bytes >= kHugePage) {
        // Mapped with a huge page's worth of slack, then cut to start on a huge-page boundary.
        const size_t size = (bytes + kHugePage - 1) / kHugePage * kHugePage;
        void* raw = mmap(nullptr, size + kHugePage, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
        if (raw != MAP_FAILED) {
            char* start = reinterpret_cast<char*>((reinterpret_cast<std::uintptr_t>(raw) + kHugePage - 1) & ~(kHugePage - 1));
            const size_t before = size_t(start - static_cast<char*>(raw));
            if (before) munmap(raw, before);
            if (kHugePage - before) munmap(start + size, kHugePage - before);
            madvise(start, size, MADV_HUGEPAGE);
            data_ = start;
            mapped_ = size;
            return;
        }
    }
    data_ = ::operator new(bytes);
}

Region::~Region() {
    if (mapped_) munmap(data_, mapped_);
    else ::operator delete(data_);
}

Region::Region(Region&& other) noexcept
    : data_(std::exchange(other.data_, nullptr)), mapped_(std::exchange(other.mapped_, 0)) {}

Region& Region::operator=(Region&& other) noexcept {
    if (this != &other) {
        Region gone(std::move(*this));
        data_ = std::exchange(other.data_, nullptr);
        mapped_ = std::exchange(other.mapped_, 0);
    }
    return *this;
}

}  // namespace platform
