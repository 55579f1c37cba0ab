#include "number_text.h"

#include <charconv>
#include <cmath>

namespace numtext {

std::string fixed(double value, int decimals)
{
    char text[400]; // the longest fixed form of a double with few decimals fits
    auto result = std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, decimals);
    return result.ec == std::errc() ? std::string(text, result.ptr) : exact(value);
}

std::string exact(double value)
{
    char text[64];
    auto result = std::to_chars(text, text + sizeof text, value);
    return std::string(text, result.ptr);
}

bool parse(std::string_view field, double& value)
{
    if (!field.empty() && field.front() == '+')
        field.remove_prefix(1);
    const char* end = field.data() + field.size();
    auto result = std::from_chars(field.data(), end, value);
    return !field.empty() && result.ec == std::errc() && result.ptr == end && std::isfinite(value);
}

} // namespace numtext
