#include "browse.h"

namespace browse {
namespace {

int step(const std::vector<Row> &rows, int from, int direction) {
    for (int i = from + direction; i >= 0 && i < static_cast<int>(rows.size()); i += direction)
        if (rows[i].selected && rows[i].viewable) return i;
    return -1;
}

} // namespace

int first_outcome(const std::vector<Row> &rows) {
    return step(rows, -1, +1);
}

int next_outcome(const std::vector<Row> &rows, int current) {
    return step(rows, current, +1);
}

int previous_outcome(const std::vector<Row> &rows, int current) {
    return step(rows, current, -1);
}

} // namespace browse
