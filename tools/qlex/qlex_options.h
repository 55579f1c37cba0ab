// Option words and result flags of the qlex tool in words.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

// The option word for -o: a number (decimal or 0x hexadecimal) is the whole word; otherwise a
// comma-separated list of option names, each with + (set) or - (clear), applied to `base`.
// Nothing when the text is not understood.
std::optional<uint32_t> parseOptions(const std::string& text, uint32_t base);

// "correct", or the names of the set flags joined by ", " ("misspelled, capitalization").
std::string describeFlags(int16_t flags);

// A sentence for an engine error code.
std::string describeError(int code);
