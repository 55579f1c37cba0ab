#include "cells.h"

#include "cp1252.h"

#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <limits>

namespace plot {

int truncated(double value) {
    if (std::isnan(value)) return 0;
    if (value >= std::numeric_limits<int>::max()) return std::numeric_limits<int>::max();
    if (value <= std::numeric_limits<int>::min()) return std::numeric_limits<int>::min();
    return static_cast<int>(value);
}

std::string format(const char *fmt, ...) {
    va_list args;
    va_start(args, fmt);
    va_list again;
    va_copy(again, args);
    int length = std::vsnprintf(nullptr, 0, fmt, args);
    va_end(args);
    std::string out(length > 0 ? static_cast<size_t>(length) : 0, '\0');
    if (length > 0) std::vsnprintf(out.data(), out.size() + 1, fmt, again);
    va_end(again);
    return out;
}

std::string text_of(const char *ansi, int max_chars) {
    if (!ansi) return {};
    std::string_view bytes(ansi);
    if (max_chars >= 0 && bytes.size() > static_cast<size_t>(max_chars))
        bytes = bytes.substr(0, max_chars); // one byte is one character in Windows-1252
    return cp1252::to_utf8(bytes);
}

ViewSettings::ViewSettings(analysis &data) : data_(data), vector_(data.IsVector("SETTINGS")) {}

double ViewSettings::number(settings::cell cell) const {
    return data_.GetCellDouble(vector_, cell);
}

int ViewSettings::integer(settings::cell cell) const {
    double value = number(cell);
    return value == ANALYSIS_MISSING ? 0 : truncated(value);
}

const char *ViewSettings::text(settings::cell cell) const {
    return data_.GetCellString(vector_, cell);
}

void ViewSettings::set(settings::cell cell, double value) {
    data_.SetCellDouble(vector_, cell, value);
}

Output ViewSettings::output() const {
    int mode = integer(settings::OUTPUT_MODE);
    return mode == 1 ? Output::printer : mode == 2 ? Output::bitmap : Output::screen;
}

} // namespace plot
