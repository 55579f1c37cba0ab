// The data set of one method result of one outcome: named vectors of cells addressed by a handle
// and a 1-based row. A cell is empty, a number or a text (8-bit Windows-1252). Numbers read from an
// empty or text cell, or from a row past a vector's end, give the missing marker; texts read from
// an empty or numeric cell give null, which ends a text column.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

// The number that stands for "no value"; readers test for it with ==.
inline constexpr double ANALYSIS_MISSING = 1.7e-308;

// A vector of an `analysis`; only its owner reads or writes it.
struct _vectordef;

class analysis {
public:
    // Rows above this bound are refused, so that no file can make a data set allocate without limit.
    static constexpr int MAX_ROWS = 1000000;

    analysis();
    ~analysis();
    analysis(const analysis&) = delete;
    analysis& operator=(const analysis&) = delete;

    // The vector with this exact name, or null.
    _vectordef* IsVector(std::string_view name) const;
    // The vector with this name, created empty (and numbered last) when it does not exist yet.
    _vectordef* AddVector(std::string_view name);

    // A foreign or null handle, or a row outside 1..MAX_ROWS, reads as missing / null and is not
    // written (the setters return false).
    double GetCellDouble(const _vectordef* vector, int row) const;
    bool SetCellDouble(_vectordef* vector, int row, double value);
    const char* GetCellString(const _vectordef* vector, int row) const;
    bool SetCellString(_vectordef* vector, int row, std::string_view text);

    // The highest row that holds a value (0 for an empty vector or a bad handle).
    int GetVectorLength(const _vectordef* vector) const;
    // Vectors are numbered from 1 in the order they were added; 0 / null for a bad number or handle.
    _vectordef* GetVectorByNumber(int number) const;
    int GetVectorNumber(const _vectordef* vector) const;
    int GetVectorCount() const;
    const char* GetVectorName(const _vectordef* vector) const;

    // Stable sort of rows first..last by the first key_count named vectors (ascending; numbers
    // before texts, texts in byte order, empty cells last). All named vectors, keys included, move
    // with the rows; vectors not named keep their rows. Returns false, changing nothing, when a name
    // is unknown, key_count is not in 1..names.size() or the rows are not a range within 1..MAX_ROWS.
    bool SortDataSet(int first, int last, const std::vector<std::string>& names, int key_count);

private:
    bool owns(const _vectordef* vector) const;

    std::vector<std::unique_ptr<_vectordef>> vectors_;          // in numbering order
    std::unordered_map<std::string, _vectordef*> by_name_;
};
