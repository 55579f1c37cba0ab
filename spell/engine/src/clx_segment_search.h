// Case-sensitive search of one segment for a word, without decoding the words it passes.
//
// Front coding makes most records decidable from their shared-prefix byte alone: with m the
// number of characters after the key that the previous word shares with the searched word, a
// record sharing more than m characters still sorts before the searched word, and one sharing
// fewer sorts after it (the words are in ascending order), which ends the search. Only records
// sharing exactly m characters are compared, character by character against their codes.
//
// Reads never leave the segment's bytes or the suffix tables; a record that does not fit them
// ends the search as "absent".
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

#include "clx_suffix_table.h"

namespace orthix {

// `word` is the whole searched word (at least three characters, the first three being the
// segment's key); true when the segment holds it.
bool clxSegmentHolds(std::span<const unsigned char> data, std::string_view word, const ClxSuffixTable& simple,
                     const ClxSuffixTable& extended);

} // namespace orthix
