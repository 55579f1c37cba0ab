// A word of at most 63 characters in a NUL-terminated buffer of its own: the variants a judgement
// tries and the replacement it gives are made without allocating.
#pragma once

#include <cstddef>
#include <cstring>
#include <string_view>

#include "lexicon.h"

namespace orthix {

class WordBuffer {
public:
    WordBuffer() = default;
    // Longer words are cut to 63 characters.
    explicit WordBuffer(std::string_view word) { assign(word); }

    void assign(std::string_view word) {
        size_ = word.size() < kMaxWord ? word.size() : kMaxWord;
        std::memcpy(text_, word.data(), size_);
        text_[size_] = '\0';
    }
    // Appends what fits within 63 characters.
    void append(std::string_view more) {
        std::size_t n = more.size() < kMaxWord - size_ ? more.size() : kMaxWord - size_;
        std::memcpy(text_ + size_, more.data(), n);
        size_ += n;
        text_[size_] = '\0';
    }

    const char* c_str() const { return text_; }
    std::size_t size() const { return size_; }
    std::string_view view() const { return {text_, size_}; }
    unsigned char at(std::size_t i) const { return static_cast<unsigned char>(text_[i]); }
    void set(std::size_t i, unsigned char c) { text_[i] = static_cast<char>(c); }

private:
    char text_[kMaxWord + 1] = {};  // all of it set, so that a copy is one fixed-size move
    std::size_t size_ = 0;
};

} // namespace orthix
