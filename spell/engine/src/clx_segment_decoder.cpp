#include "clx_segment_decoder.h"

#include <cstring>

namespace orthix {

using namespace clx;

ClxSegmentDecoder::ClxSegmentDecoder(const char (&key)[kKeySize], std::span<const unsigned char> data,
                                     const ClxSuffixTable& simple, const ClxSuffixTable& extended)
        : data_(data), simple_(simple), extended_(extended) {
    std::memcpy(word_, key, kKeySize);
    word_[kKeySize] = '\0';
}

ClxSegmentDecoder::Step ClxSegmentDecoder::next() {
    if (pos_ == data_.size())
        return kEnd;
    // The record's first byte counts the characters after the key shared with the previous word.
    size_t shared = data_[pos_++];
    if (shared > length_ - kKeySize)
        return kMalformed;
    length_ = kept_ = kKeySize + shared;
    for (;;) {
        if (pos_ == data_.size())
            return kMalformed;
        unsigned char code = data_[pos_++];
        if (code >= kFirstLiteral) {
            if (length_ == kMaxWordLength)
                return kMalformed;
            word_[length_++] = char(code);
            continue;
        }
        if (code == kEndOfWord)
            break;
        if (code == kExtendedSuffix) {
            if (pos_ == data_.size() || data_[pos_] >= extended_.count() || !append(extended_.at(data_[pos_])))
                return kMalformed;
            ++pos_;
            break;
        }
        size_t n = code - kFirstSimpleSuffix;
        if (n >= simple_.count() || !append(simple_.at(n)))
            return kMalformed;
        break;
    }
    word_[length_] = '\0';
    return kWord;
}

bool ClxSegmentDecoder::append(std::string_view text) {
    if (text.size() > kMaxWordLength - length_)
        return false;
    std::memcpy(word_ + length_, text.data(), text.size());
    length_ += text.size();
    return true;
}

} // namespace orthix
