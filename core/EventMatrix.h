#pragma once
// A flat two-dimensional matrix stored column-major: all events of one
// parameter (or one population slot) lie together, so that loops over the
// events of one parameter walk memory in order. Index 0 of both dimensions
// exists and carries no data.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "core/LargeBlockAllocator.h"

namespace qv {

template <class T>
class EventMatrix {
public:
    EventMatrix() = default;
    // Sized for events 0..maxEvent and columns 0..maxColumn, all zero.
    EventMatrix(int32_t maxEvent, int32_t maxColumn) { resize(maxEvent, maxColumn); }

    void resize(int32_t maxEvent, int32_t maxColumn) {
        maxEvent_ = maxEvent < 0 ? 0 : maxEvent;
        maxColumn_ = maxColumn < 0 ? 0 : maxColumn;
        data_.assign(stride() * static_cast<size_t>(maxColumn_ + 1), T{});
    }
    // Sized like resize(), but the elements are left unset: for a matrix the
    // caller writes in full (every element, index 0 included) right after.
    void resizeForOverwrite(int32_t maxEvent, int32_t maxColumn) {
        maxEvent_ = maxEvent < 0 ? 0 : maxEvent;
        maxColumn_ = maxColumn < 0 ? 0 : maxColumn;
        data_.clear();
        data_.resize(stride() * static_cast<size_t>(maxColumn_ + 1));
    }
    // Grows or shrinks the column dimension keeping every stored value.
    void resizeColumns(int32_t maxColumn) {
        maxColumn_ = maxColumn < 0 ? 0 : maxColumn;
        data_.resize(stride() * static_cast<size_t>(maxColumn_ + 1), T{});
    }
    // Reduced to the single element (0, 0).
    void release() { maxEvent_ = 0; maxColumn_ = 0; data_.assign(1, T{}); data_.shrink_to_fit(); }

    int32_t maxEvent() const { return maxEvent_; }
    int32_t maxColumn() const { return maxColumn_; }
    size_t stride() const { return static_cast<size_t>(maxEvent_) + 1; }
    bool empty() const { return data_.empty(); }

    T* column(int32_t c) { return data_.data() + stride() * static_cast<size_t>(c); }
    const T* column(int32_t c) const { return data_.data() + stride() * static_cast<size_t>(c); }
    T& operator()(int32_t e, int32_t c) { return data_[stride() * static_cast<size_t>(c) + static_cast<size_t>(e)]; }
    const T& operator()(int32_t e, int32_t c) const { return data_[stride() * static_cast<size_t>(c) + static_cast<size_t>(e)]; }
    bool contains(int32_t e, int32_t c) const {
        return !data_.empty() && e >= 0 && c >= 0 && e <= maxEvent_ && c <= maxColumn_;
    }
    using Storage = std::vector<T, LargeBlockAllocator<T>>;
    Storage& raw() { return data_; }
    const Storage& raw() const { return data_; }

private:
    int32_t maxEvent_ = 0;
    int32_t maxColumn_ = 0;
    Storage data_;
};

}  // namespace qv
