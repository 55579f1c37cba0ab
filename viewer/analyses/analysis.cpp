#include "analysis.h"

#include <algorithm>
#include <numeric>
#include <variant>

namespace {

using cell = std::variant<std::monostate, double, std::string>;

bool valid_row(int row) { return row >= 1 && row <= analysis::MAX_ROWS; }

// Sort order of two cells: numbers (by value) before texts (by bytes) before empty cells.
int compare_cells(const cell& a, const cell& b)
{
    if (a.index() != b.index()) {
        auto rank = [](const cell& c) { return c.index() == 1 ? 0 : c.index() == 2 ? 1 : 2; };
        return rank(a) < rank(b) ? -1 : 1;
    }
    if (const double* x = std::get_if<double>(&a)) {
        double y = std::get<double>(b);
        return *x < y ? -1 : y < *x ? 1 : 0;
    }
    if (const std::string* s = std::get_if<std::string>(&a))
        return s->compare(std::get<std::string>(b)) < 0 ? -1 : *s == std::get<std::string>(b) ? 0 : 1;
    return 0;
}

} // namespace

struct _vectordef {
    const analysis* owner;
    int number; // from 1, in order of addition
    std::string name;
    std::vector<cell> cells; // cells[row - 1]; trailing empty cells are trimmed

    const cell* at(int row) const
    {
        return valid_row(row) && static_cast<size_t>(row) <= cells.size() ? &cells[row - 1] : nullptr;
    }
    void put(int row, cell value)
    {
        if (static_cast<size_t>(row) > cells.size())
            cells.resize(row);
        cells[row - 1] = std::move(value);
        trim();
    }
    void trim()
    {
        while (!cells.empty() && std::holds_alternative<std::monostate>(cells.back()))
            cells.pop_back();
    }
};

analysis::analysis() = default;
analysis::~analysis() = default;

bool analysis::owns(const _vectordef* vector) const { return vector && vector->owner == this; }

_vectordef* analysis::IsVector(std::string_view name) const
{
    auto found = by_name_.find(std::string(name));
    return found == by_name_.end() ? nullptr : found->second;
}

_vectordef* analysis::AddVector(std::string_view name)
{
    if (_vectordef* existing = IsVector(name))
        return existing;
    vectors_.push_back(std::make_unique<_vectordef>(_vectordef{this, static_cast<int>(vectors_.size()) + 1, std::string(name), {}}));
    by_name_.emplace(vectors_.back()->name, vectors_.back().get());
    return vectors_.back().get();
}

double analysis::GetCellDouble(const _vectordef* vector, int row) const
{
    const cell* c = owns(vector) ? vector->at(row) : nullptr;
    const double* value = c ? std::get_if<double>(c) : nullptr;
    return value ? *value : ANALYSIS_MISSING;
}

bool analysis::SetCellDouble(_vectordef* vector, int row, double value)
{
    if (!owns(vector) || !valid_row(row))
        return false;
    vector->put(row, value);
    return true;
}

const char* analysis::GetCellString(const _vectordef* vector, int row) const
{
    const cell* c = owns(vector) ? vector->at(row) : nullptr;
    const std::string* text = c ? std::get_if<std::string>(c) : nullptr;
    return text ? text->c_str() : nullptr;
}

bool analysis::SetCellString(_vectordef* vector, int row, std::string_view text)
{
    if (!owns(vector) || !valid_row(row))
        return false;
    vector->put(row, std::string(text));
    return true;
}

int analysis::GetVectorLength(const _vectordef* vector) const
{
    return owns(vector) ? static_cast<int>(vector->cells.size()) : 0;
}

_vectordef* analysis::GetVectorByNumber(int number) const
{
    return number >= 1 && static_cast<size_t>(number) <= vectors_.size() ? vectors_[number - 1].get()
                                                                         : nullptr;
}

int analysis::GetVectorNumber(const _vectordef* vector) const
{
    return owns(vector) ? vector->number : 0;
}

int analysis::GetVectorCount() const { return static_cast<int>(vectors_.size()); }

const char* analysis::GetVectorName(const _vectordef* vector) const
{
    return owns(vector) ? vector->name.c_str() : nullptr;
}

bool analysis::SortDataSet(int first, int last, const std::vector<std::string>& names, int key_count)
{
    if (!valid_row(first) || !valid_row(last) || first > last || key_count < 1 ||
        static_cast<size_t>(key_count) > names.size())
        return false;
    std::vector<_vectordef*> moved;
    for (const std::string& name : names) {
        _vectordef* v = IsVector(name);
        if (!v)
            return false;
        if (std::find(moved.begin(), moved.end(), v) == moved.end())
            moved.push_back(v);
    }

    // The rows of the range as cells, so that missing rows past a vector's end take part as empty.
    const size_t n = static_cast<size_t>(last - first + 1);
    auto column = [&](const _vectordef* v) {
        std::vector<cell> cells(n);
        for (size_t i = 0; i < n; ++i)
            if (const cell* c = v->at(first + static_cast<int>(i)))
                cells[i] = *c;
        return cells;
    };
    std::vector<std::vector<cell>> keys;
    for (int k = 0; k < key_count; ++k)
        keys.push_back(column(IsVector(names[k])));

    std::vector<size_t> order(n);
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) {
        for (const auto& key : keys)
            if (int c = compare_cells(key[a], key[b]))
                return c < 0;
        return false;
    });

    for (_vectordef* v : moved) {
        std::vector<cell> before = column(v);
        if (v->cells.size() < static_cast<size_t>(last))
            v->cells.resize(last);
        for (size_t i = 0; i < n; ++i)
            v->cells[first - 1 + i] = std::move(before[order[i]]);
        v->trim();
    }
    return true;
}
