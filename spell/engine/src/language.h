// Language codes: two ASCII letters, high byte first ("am" = 24941). Lexicon files may state a
// Windows language identifier instead; those are translated.
#pragma once

#include <cstdint>

namespace orthix {

constexpr int16_t kLanguageAny = 30840;        // "xx"
constexpr int16_t kLanguageAmerican = 24941;   // "am"

// The code for a Windows language identifier of the table; any other number is kept as given.
int16_t languageFromNumber(long number);

} // namespace orthix
