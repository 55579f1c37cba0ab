// Compiles a word list into a compressed lexicon file image.
//
// Words are sorted as unsigned bytes and deduplicated; words of one or two characters become
// index entries without segment data; longer words are grouped by their first three characters,
// front-coded against the previous word of their segment, and end in the suffix that saves the
// most bytes. The suffix tables are chosen greedily from the word endings left after front
// coding: each round takes the ending (as a simple or an extended suffix) that shrinks the file
// most, until no ending pays for its own table entry.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace orthix {

struct ClxSummary {
    size_t words = 0;           // distinct words
    size_t segments = 0;        // segments with data
    size_t largestSegment = 0;  // bytes
    size_t fileSize = 0;        // bytes
};

class ClxCompiler {
public:
    // Adds a word list: Windows-1252 text, one word per line, lines ending in CR LF, LF or CR;
    // empty lines are skipped. Returns "" or a message naming the first bad line, whose words
    // are then not added. A word holds 1 to 63 characters, none of them a space or control character.
    std::string addWordList(std::string_view text);

    // The file image of the words added so far.
    std::string build(uint16_t language, ClxSummary* summary = nullptr) const;

private:
    std::vector<std::string> words_;
};

} // namespace orthix
