// Previous / Next: browsing the outcome rows selected in the list, from the row being viewed.
// Rows whose outcome cannot be drawn are stepped over.
#pragma once

#include <vector>

namespace browse {

struct Row {
    bool selected = false;
    bool viewable = false; // an outcome row with a forest plot
};

// The first selected row that can be drawn, or -1.
int first_outcome(const std::vector<Row> &rows);
// The nearest selected row that can be drawn below (next) or above (previous) current, or -1.
int next_outcome(const std::vector<Row> &rows, int current);
int previous_outcome(const std::vector<Row> &rows, int current);

} // namespace browse
