// What the Display, Sort and Statistics menus and the Funnel Plot button show for the outcome being
// viewed: check marks, greyed items and the Scale captions, read from the outcome record and the
// SETTINGS cells of its current data set.
#pragma once

#include "analysis.h"
#include "outcome_record.h"

#include <array>
#include <map>
#include <string>

namespace commands {

struct MenuState {
    std::map<int, bool> checked; // by command id (cmd::...)
    std::map<int, bool> enabled; // by command id; items not listed keep their state
    std::array<std::string, 6> scale_captions;
};

// A measure code 300..305.
bool known_measure(int measure);
// Peto odds ratio, odds ratio and relative risk are shown on ratio scales.
bool ratio_measure(int measure);
// The six Scale items' captions; the sixth is empty for ratio scales, which have five.
std::array<std::string, 6> scale_captions(bool ratio);

MenuState menu_state(const outcomeDef &record, analysis &data);

} // namespace commands
