// Decodes the word records of one segment of a compressed lexicon, one word at a time.
//
// Every record is checked against the segment's bytes and the suffix tables: a shared prefix
// longer than the previous word, a suffix number outside its table, a word longer than 63
// characters or a record cut off by the segment's end makes the segment malformed.
#pragma once

#include <cstddef>
#include <span>

#include "clx_format.h"
#include "clx_suffix_table.h"

namespace orthix {

class ClxSegmentDecoder {
public:
    enum Step { kWord, kEnd, kMalformed };

    ClxSegmentDecoder(const char (&key)[clx::kKeySize], std::span<const unsigned char> data,
                      const ClxSuffixTable& simple, const ClxSuffixTable& extended);

    // Decodes the next record into word(); kEnd after the last one.
    Step next();

    const char* word() const { return word_; }  // NUL-terminated
    size_t length() const { return length_; }
    // How many leading characters the last word took from the previous one (key included).
    size_t kept() const { return kept_; }

private:
    bool append(std::string_view text);

    std::span<const unsigned char> data_;
    size_t pos_ = 0;
    const ClxSuffixTable& simple_;
    const ClxSuffixTable& extended_;
    char word_[clx::kMaxWordLength + 1];
    size_t length_ = clx::kKeySize;
    size_t kept_ = clx::kKeySize;
};

} // namespace orthix
