#include "clx_segment_search.h"

#include "clx_format.h"

namespace orthix {

using namespace clx;

namespace {

// The position after the record whose codes start at `pos`, or 0 when the segment ends inside it.
size_t skip_record(std::span<const unsigned char> data, size_t pos) {
    while (pos < data.size()) {
        unsigned char code = data[pos++];
        if (code >= kFirstLiteral)
            continue;
        if (code == kExtendedSuffix)
            return pos < data.size() ? pos + 1 : 0;
        return pos;
    }
    return 0;
}

// How the record being compared stands to the searched word.
enum Order { kBefore, kEqual, kAfter, kBroken };

class Search {
public:
    Search(std::span<const unsigned char> data, std::string_view word, const ClxSuffixTable& simple,
           const ClxSuffixTable& extended)
        : data_(data), word_(word), simple_(simple), extended_(extended) {}

    bool run() {
        pos_ = 0;
        size_t shared = 0;  // characters after the key that the previous word shares with word_
        while (pos_ < data_.size()) {
            size_t n = data_[pos_++];
            if (n < shared)
                return false;  // this word, and every later one, sorts after the searched word
            if (n > shared) {
                if (!skipRecord())
                    return false;
                continue;  // sorts before the searched word
            }
            matched_ = kKeySize + n;
            switch (compareRecord()) {
            case kEqual:
                return true;
            case kBefore:
                shared = matched_ - kKeySize;
                break;
            case kAfter:
            case kBroken:
                return false;
            }
        }
        return false;
    }

private:
    // Compares the record's codes with word_ from position matched_ on, leaving pos_ after the
    // record when the record's word sorts before word_.
    Order compareRecord() {
        for (;;) {
            if (pos_ == data_.size())
                return kBroken;
            unsigned char code = data_[pos_++];
            if (code >= kFirstLiteral) {
                Order order = compareCharacter(code);
                if (order == kBefore)
                    return skipRecord() ? kBefore : kBroken;
                if (order == kAfter)
                    return kAfter;
                continue;
            }
            std::string_view suffix;
            if (code == kExtendedSuffix) {
                if (pos_ == data_.size() || data_[pos_] >= extended_.count())
                    return kBroken;
                suffix = extended_.at(data_[pos_++]);
            } else if (code != kEndOfWord) {
                if (size_t(code - kFirstSimpleSuffix) >= simple_.count())
                    return kBroken;
                suffix = simple_.at(code - kFirstSimpleSuffix);
            }
            for (char c : suffix) {
                Order order = compareCharacter((unsigned char)c);
                if (order != kEqual)
                    return order;  // the suffix ended the record
            }
            return matched_ == word_.size() ? kEqual : kBefore;  // a shorter word sorts first
        }
    }

    // kEqual while the record's characters so far match word_.
    Order compareCharacter(unsigned char c) {
        if (matched_ < word_.size() && (unsigned char)word_[matched_] == c) {
            ++matched_;
            return kEqual;
        }
        if (matched_ == word_.size() || c > (unsigned char)word_[matched_])
            return kAfter;
        return kBefore;
    }

    // Moves pos_ past the rest of the record; false when the segment ends inside it.
    bool skipRecord() {
        pos_ = skip_record(data_, pos_);
        return pos_ != 0;
    }

    std::span<const unsigned char> data_;
    size_t pos_ = 0;
    std::string_view word_;
    size_t matched_ = 0;  // characters of word_ the current record's word is known to share
    const ClxSuffixTable& simple_;
    const ClxSuffixTable& extended_;
};

} // namespace

bool clxSegmentHolds(std::span<const unsigned char> data, std::string_view word, const ClxSuffixTable& simple,
                     const ClxSuffixTable& extended) {
    return Search(data, word, simple, extended).run();
}

} // namespace orthix
