// Numbers written in free form, as the model file and free-format data files hold them.
#pragma once
#include <string_view>

// A real: optional sign, digits with an optional decimal point, optional exponent introduced by
// E or D (either case). True only when the whole text is such a number and its value is finite.
bool SCANREAL(std::string_view s, double &v);

// An integer: optional sign and digits, within 32 bits. True only when the whole text is one.
bool SCANINT(std::string_view s, int &v);
