// The text lexicon file format.
//
// 8-bit text. A line ends with a line feed, with or without a carriage return before it; a last
// line without an end is read too. An optional first line starting with '#' is the header, whose
// second blank-separated token is the language ("#LID 24941"; a Windows language identifier is
// translated). Every other line is an entry: the word, a TAB, the action character and the other
// word; a line without TAB is a word with action 'i'. Empty lines and '#' lines are skipped.
// Words and other words longer than 63 characters are cut.
//
// Files are written with CR LF line ends: the header "#LID <code>", then one entry line per word.
// A file without a header is written back without one, plain words as bare lines.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "word_list.h"

namespace orthix {

struct TextLexiconContent {
    bool hasHeader = false;
    int16_t language = kLanguageAny;
    std::vector<LexEntry> entries;  // in file order
};

TextLexiconContent parseTextLexicon(std::string_view bytes);
// Whether the file can hold the entry so that it reads back the same: the word has no TAB or line
// feed and does not start with '#' (a comment), the other word has no line feed.
bool fitsTextLexicon(const LexEntry& entry);
std::string formatTextLexicon(const WordList& list, bool hasHeader);

} // namespace orthix
