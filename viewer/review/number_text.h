// Numbers as text, independent of the C locale (a Qt program switches LC_NUMERIC to the user's,
// which would turn "0.49" into "0,49" in printf and make strtod stop at the point).
#pragma once

#include <string>
#include <string_view>

namespace numtext {

// value with a fixed number of decimals, as printf's "%.<decimals>f".
std::string fixed(double value, int decimals);
// The shortest text that reads back as exactly value.
std::string exact(double value);
// Parses a whole field as a finite number; false for anything else.
bool parse(std::string_view field, double& value);

} // namespace numtext
