// Reading cells of an outcome's data set for drawing: the SETTINGS vector, texts converted to
// UTF-8 for the canvas, and the printf formats the plot shows numbers in.
#pragma once

#include "analysis.h"
#include "settings.h"

#include <string>

namespace plot {

// Toward zero, as C's (int) cast, but defined for every double: NaN gives 0 and values beyond
// the int range stop at its ends.
int truncated(double value);

// printf into a std::string.
std::string format(const char *fmt, ...) __attribute__((format(printf, 1, 2)));

// A Windows-1252 cell text as UTF-8; at most max_chars characters when max_chars >= 0.
std::string text_of(const char *ansi, int max_chars = -1);

// Where a pass draws, from SETTINGS 15.
enum class Output { screen = 0, printer = 1, bitmap = 2 };

// The "SETTINGS" vector of one data set.
class ViewSettings {
  public:
    explicit ViewSettings(analysis &data);

    bool present() const { return vector_ != nullptr; }
    double number(settings::cell cell) const;
    // Truncated toward zero; an empty cell reads as 0.
    int integer(settings::cell cell) const;
    // Null when the cell holds no text.
    const char *text(settings::cell cell) const;
    void set(settings::cell cell, double value);

    Output output() const;
    // Display flags (SETTINGS 7) test.
    bool shows(int flag) const { return (integer(settings::DISPLAY_FLAGS) & flag) != 0; }

  private:
    analysis &data_;
    _vectordef *vector_;
};

} // namespace plot
