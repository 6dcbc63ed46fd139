#pragma once
#include <cstddef>

namespace platform {

// A piece of memory that stays where it is until it is released. A large one is taken from the
// system in huge pages where it offers them: the rows of a large record set, or the keys of a
// large sort, are then made resident in a few steps rather than page by page.
class Region {
public:
    static constexpr size_t kHugePage = size_t(2) << 20;

    Region() = default;
    explicit Region(size_t bytes);
    ~Region();
    Region(Region&& other) noexcept;
    Region& operator=(Region&& other) noexcept;
    Region(const Region&) = delete;
    Region& operator=(const Region&) = delete;
    template <class T>
    T* as() const { return static_cast<T*>(data_); }

private:
    void* data_ = nullptr;
    size_t mapped_ = 0;   // bytes mapped from the system; 0: from the heap
};

}  // namespace platform
