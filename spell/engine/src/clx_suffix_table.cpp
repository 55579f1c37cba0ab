#include "clx_suffix_table.h"

#include <cstring>

namespace orthix {

bool ClxSuffixTable::assign(std::vector<char> bytes) {
    clear();
    if (!bytes.empty() && bytes.back() != '\0')
        return false;
    bytes_ = std::move(bytes);
    for (size_t start = 0; start < bytes_.size();) {
        size_t length = std::strlen(bytes_.data() + start);
        suffixes_.emplace_back(bytes_.data() + start, length);
        start += length + 1;
    }
    return true;
}

void ClxSuffixTable::clear() {
    bytes_.clear();
    suffixes_.clear();
}

} // namespace orthix
