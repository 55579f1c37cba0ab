// Loading a review into the outcome list: one comparison row (no record) followed by its outcome
// rows (each with its record and four column texts). The list itself belongs to the caller; the Qt
// list of the main window and the --dump writer are two such lists.
#pragma once

#include "outcome_record.h"

#include <array>
#include <memory>
#include <string>

// Texts are Windows-1252.
class outcomelist {
public:
    virtual ~outcomelist() = default;
    // Titles of the list columns: "Comparison/Outcome", then the four of OutcomeColumns.
    virtual void SetColumnTitles(const std::array<std::string, 5>& titles) = 0;
    virtual void AddComparisonRow(const std::string& name) = 0;
    // columns: number of studies, number of participants, statistical method, effect size. The
    // method column begins with "No numerical data" or "Other data [Not viewable]" for outcomes that
    // cannot be drawn; those rows have no record.
    virtual void AddOutcomeRow(const std::string& name, std::unique_ptr<outcomeDef> record,
                               const std::array<std::string, 4>& columns) = 0;
};

inline constexpr int LOAD_BUFFER_SIZE = 260;

// Loads the review file at path into list. Returns 1 with the review's name in buffer, or 0 with
// "line N: <problem>" (or why the file cannot be read) in buffer and nothing added to the list.
// buffer holds LOAD_BUFFER_SIZE bytes and always ends up NUL-terminated.
int CreateListView(outcomelist& list, const char* path, char* buffer);

// The four column texts of one outcome of a loaded review (its record may be null).
std::array<std::string, 4> OutcomeColumns(const review::outcome& outcome, const outcomeDef* record);
