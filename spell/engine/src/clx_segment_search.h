// Case-sensitive search of one segment for a word, without decoding the words it passes.
//
// Front coding makes most records decidable from their shared-prefix byte alone: with m the
// number of characters after the key that the previous word shares with the searched word, a
// record sharing more than m characters still sorts before the searched word, and one sharing
// fewer sorts after it (the words are in ascending order), which ends the search. Only records
// sharing exactly m characters are compared, character by character against their codes.
//
// A record sharing nothing with its predecessor needs no earlier record to be read, and starts the
// run of words with its fourth character: the jump table lists these records, so that a search
// starts at the run of the searched word's fourth character instead of the segment's start.
//
// Reads never leave the segment's bytes or the suffix tables; a record that does not fit them
// ends the search as "absent".
#pragma once

#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

#include "clx_suffix_table.h"

namespace orthix {

struct ClxJump {
    uint32_t offset;      // of the record in the segment
    unsigned char first;  // the word's fourth character (0 for the key alone)
};

// The records that share nothing with the previous word, in segment order. Stops at a record
// that does not fit the segment or whose fourth character is out of order (the search then
// reads on from the last jump).
std::vector<ClxJump> clxSegmentJumps(std::span<const unsigned char> data, const ClxSuffixTable& simple,
                                     const ClxSuffixTable& extended);

// `word` is the whole searched word (at least three characters, the first three being the
// segment's key); true when the segment holds it. `jumps` are the segment's jumps, or empty.
bool clxSegmentHolds(std::span<const unsigned char> data, std::string_view word, const ClxSuffixTable& simple,
                     const ClxSuffixTable& extended, const std::vector<ClxJump>& jumps = {});

} // namespace orthix
