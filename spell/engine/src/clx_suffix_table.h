// One suffix table of a compressed lexicon: consecutive NUL-terminated strings, suffix n being
// the n-th string counting from 0.
#pragma once

#include <cstddef>
#include <string_view>
#include <vector>

namespace orthix {

class ClxSuffixTable {
public:
    // Takes the table's bytes; false (table left empty) when the last string lacks its NUL.
    bool assign(std::vector<char> bytes);
    void clear();

    size_t count() const { return suffixes_.size(); }
    // Suffix n; the caller checks n < count().
    std::string_view at(size_t n) const { return suffixes_[n]; }

private:
    std::vector<char> bytes_;
    std::vector<std::string_view> suffixes_;  // views into bytes_
};

} // namespace orthix
