// Parses every line of the input as a comhost statement: any text must give a statement or an
// error message, never a crash.
#include "script.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view text(reinterpret_cast<const char*>(data), size);
    while (!text.empty()) {
        std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        comhost::ParseResult result = comhost::parse_statement(line);
        if (!result.statement && result.error.empty()) __builtin_trap();  // a failure always says why
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
    }
    return 0;
}
