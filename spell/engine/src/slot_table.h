// A growable table of handle slots (sessions, lexicons, blocks). An id is an index; freed slots
// are reused first. The table starts with room for 6 and, when n slots are needed and it has
// fewer, grows to n + n/2.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace orthix {

template <class T> class SlotTable {
public:
    // The id of the first slot `isFree` accepts, appending a fresh slot when none is; -1 when the
    // table already holds as many slots as 16-bit ids allow. Throws std::bad_alloc when it cannot
    // grow, leaving the table as it was.
    template <class IsFree> int16_t claim(IsFree isFree) {
        for (std::size_t i = 0; i < slots_.size(); ++i)
            if (isFree(slots_[i]))
                return static_cast<int16_t>(i);
        if (slots_.size() >= kMaxSlots)
            return -1;
        std::size_t n = slots_.size() + 1;
        if (slots_.capacity() < n)
            slots_.reserve(std::max<std::size_t>(n + n / 2, 6));
        slots_.emplace_back();
        return static_cast<int16_t>(n - 1);
    }

    bool holds(int16_t id) const { return id >= 0 && static_cast<std::size_t>(id) < slots_.size(); }
    T& operator[](int16_t id) { return slots_[static_cast<std::size_t>(id)]; }
    std::size_t size() const { return slots_.size(); }
    auto begin() { return slots_.begin(); }
    auto end() { return slots_.end(); }

private:
    static constexpr std::size_t kMaxSlots = 32767;
    std::vector<T> slots_;
};

} // namespace orthix
