// A review file (".ORV"): plain UTF-8 text, one record per line, fields separated by tabs. Texts
// are converted to Windows-1252 as they are read. README.md ("Review files") documents the format.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace review {

enum class data_kind { dichotomous, continuous, no_numerical_data, not_viewable };

struct study {
    std::string name, year, quality, user;
    int group = 0; // 0-based index into the outcome's subgroups (0 when it has none)
    // Dichotomous: events and total per arm. Continuous: participants, mean and SD per arm.
    double expt_events = 0, expt_total = 0, ctrl_events = 0, ctrl_total = 0;
    double expt_n = 0, expt_mean = 0, expt_sd = 0, ctrl_n = 0, ctrl_mean = 0, ctrl_sd = 0;
};

struct outcome {
    std::string name;
    data_kind kind = data_kind::dichotomous;
    std::string expt_label, ctrl_label, caption_left, caption_right; // empty when not given
    int study_ci = 95, total_ci = 95;                                // 90, 95 or 99
    int scale = 2;                                                   // scale index 0..5
    int flags = 1 | 2 | 4 | 8;                                       // display flags
    int totals = 0;                                                  // totals option 0..2
    int measure = 0, model = 400; // starting method; without METHOD: OR or WMD, fixed
    std::vector<std::string> subgroups;
    std::vector<study> studies;
};

struct comparison {
    std::string name;
    std::vector<outcome> outcomes;
};

struct review_data {
    std::string name;
    std::vector<comparison> comparisons;
};

// Parses the text of a review file. On failure returns false and sets error to
// "line N: <problem>" (or the problem alone when it concerns the whole file).
bool parse_review(std::string_view text, review_data& out, std::string& error);
// Reads and parses a file; a file that cannot be read is reported as such.
bool load_review(const std::string& path, review_data& out, std::string& error);

} // namespace review
