#include "review_file.h"

#include "cp1252.h"
#include "number_text.h"
#include "settings.h"

#include <algorithm>
#include <cstdint>
#include <cctype>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <unordered_map>

namespace review {

namespace {

// Counts above this are refused as typing errors long before doubles lose integer precision.
constexpr double MAX_COUNT = 1e9;
// Every outcome and study row becomes several data sets in memory, so a review's size is bounded
// well above any real review (the largest have a few thousand study rows).
constexpr size_t MAX_OUTCOMES = 10000;
constexpr size_t MAX_STUDIES = 100000;
constexpr std::uintmax_t MAX_FILE_BYTES = 64 << 20;

bool same_word(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

std::string_view trim(std::string_view s)
{
    while (!s.empty() && (s.front() == ' ' || s.front() == '\r'))
        s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\r'))
        s.remove_suffix(1);
    return s;
}

// A field quoted in an error message, shortened so that a message stays one readable line.
std::string quoted(std::string_view field)
{
    return "\"" + std::string(field.substr(0, 40)) + (field.size() > 40 ? "...\"" : "\"");
}

struct parser {
    review_data& out;
    std::string error;
    int line = 0;
    outcome* current = nullptr;
    size_t outcomes = 0, studies = 0;
    std::unordered_map<std::string, int> subgroup_index; // of the current outcome

    bool fail(const std::string& problem)
    {
        error = "line " + std::to_string(line) + ": " + problem;
        return false;
    }

    bool number(std::string_view field, const char* what, double& value)
    {
        if (!numtext::parse(field, value))
            return fail(std::string(what) + " is not a number: " + quoted(field));
        return true;
    }

    bool count(std::string_view field, const char* what, double& value)
    {
        if (!number(field, what, value))
            return false;
        if (value < 0 || value != std::floor(value) || value > MAX_COUNT)
            return fail(std::string(what) + " must be a whole number from 0 to 1000000000: " + quoted(field));
        return true;
    }

    bool need_outcome(std::string_view keyword)
    {
        return current ? true : fail(std::string(keyword) + " before any OUTCOME");
    }

    bool fields_between(const std::vector<std::string_view>& f, size_t low, size_t high, const char* usage)
    {
        if (f.size() - 1 < low || f.size() - 1 > high)
            return fail(std::string(f[0]) + " takes " + usage);
        return true;
    }

    bool ci_level(std::string_view field, int& level)
    {
        for (int l : {90, 95, 99})
            if (field == std::to_string(l)) {
                level = l;
                return true;
            }
        return fail("a confidence level is 90, 95 or 99, not " + quoted(field));
    }

    bool record(const std::vector<std::string_view>& f);
    bool study_record(const std::vector<std::string_view>& f);
    bool method_record(const std::vector<std::string_view>& f);
    void finish_outcome();
};

bool parser::record(const std::vector<std::string_view>& f)
{
    const std::string_view key = f[0];
    if (out.name.empty() && !same_word(key, "REVIEW"))
        return fail("the file must begin with a REVIEW line");
    if (same_word(key, "REVIEW")) {
        if (!out.name.empty())
            return fail("a second REVIEW line");
        if (!fields_between(f, 1, 1, "the review's name"))
            return false;
        out.name = cp1252::from_utf8(f[1]);
        return true;
    }
    if (same_word(key, "COMPARISON")) {
        if (!fields_between(f, 1, 1, "the comparison's name"))
            return false;
        finish_outcome();
        out.comparisons.push_back({cp1252::from_utf8(f[1]), {}});
        current = nullptr;
        return true;
    }
    if (same_word(key, "OUTCOME")) {
        if (out.comparisons.empty())
            return fail("OUTCOME before any COMPARISON");
        if (!fields_between(f, 2, 2, "the outcome's name and its data type"))
            return false;
        if (++outcomes > MAX_OUTCOMES)
            return fail("a review holds at most " + std::to_string(MAX_OUTCOMES) + " outcomes");
        finish_outcome();
        outcome o;
        o.name = cp1252::from_utf8(f[1]);
        if (same_word(f[2], "dichotomous"))
            o.kind = data_kind::dichotomous;
        else if (same_word(f[2], "continuous"))
            o.kind = data_kind::continuous;
        else if (same_word(f[2], "no numerical data"))
            o.kind = data_kind::no_numerical_data;
        else if (same_word(f[2], "other data"))
            o.kind = data_kind::not_viewable;
        else
            return fail("the data type is dichotomous, continuous, no numerical data or other data, not " +
                        quoted(f[2]));
        out.comparisons.back().outcomes.push_back(std::move(o));
        current = &out.comparisons.back().outcomes.back();
        subgroup_index.clear();
        return true;
    }
    if (!need_outcome(key))
        return false;
    if (same_word(key, "LABELS") || same_word(key, "CAPTIONS")) {
        if (!fields_between(f, 2, 2, "two texts: experimental side, then control side"))
            return false;
        bool labels = same_word(key, "LABELS");
        (labels ? current->expt_label : current->caption_left) = cp1252::from_utf8(f[1]);
        (labels ? current->ctrl_label : current->caption_right) = cp1252::from_utf8(f[2]);
        return true;
    }
    if (same_word(key, "CI"))
        return fields_between(f, 2, 2, "the study and the total confidence levels") &&
               ci_level(f[1], current->study_ci) && ci_level(f[2], current->total_ci);
    if (same_word(key, "SCALE")) {
        double index = 0;
        if (!fields_between(f, 1, 1, "one scale index") || !number(f[1], "the scale index", index))
            return false;
        if (index != 0 && index != 1 && index != 2 && index != 3 && index != 4 && index != 5)
            return fail("the scale index is a whole number from 0 to 5");
        current->scale = static_cast<int>(index);
        return true;
    }
    if (same_word(key, "DISPLAY")) {
        static const struct { const char* word; int flag; } flags[] = {
            {"raw", settings::FLAG_RAW},   {"weight", settings::FLAG_WEIGHT},   {"graph", settings::FLAG_GRAPH},
            {"ci", settings::FLAG_CI},     {"year", settings::FLAG_YEAR},       {"quality", settings::FLAG_QUALITY},
            {"oe", settings::FLAG_OE},     {"user", settings::FLAG_USER},
        };
        current->flags = 0;
        for (size_t i = 1; i < f.size(); ++i) {
            int flag = 0;
            for (const auto& known : flags)
                if (same_word(f[i], known.word))
                    flag = known.flag;
            if (!flag)
                return fail("unknown display column " + quoted(f[i]) +
                            " (raw, weight, graph, ci, year, quality, oe, user)");
            current->flags |= flag;
        }
        return true;
    }
    if (same_word(key, "TOTALS")) {
        if (!fields_between(f, 1, 1, "one of all, subtotals or none"))
            return false;
        const char* options[] = {"all", "subtotals", "none"};
        for (int i = 0; i < 3; ++i)
            if (same_word(f[1], options[i])) {
                current->totals = i;
                return true;
            }
        return fail("TOTALS is all, subtotals or none, not " + quoted(f[1]));
    }
    if (same_word(key, "METHOD"))
        return method_record(f);
    if (same_word(key, "SUBGROUP")) {
        if (!fields_between(f, 1, 1, "the subgroup's name"))
            return false;
        if (current->kind == data_kind::no_numerical_data || current->kind == data_kind::not_viewable)
            return fail("an outcome without viewable data has no subgroups");
        if (!current->studies.empty())
            return fail("SUBGROUP lines must come before the outcome's STUDY lines");
        std::string name = cp1252::from_utf8(f[1]);
        if (!subgroup_index.emplace(name, static_cast<int>(current->subgroups.size())).second)
            return fail("subgroup " + quoted(f[1]) + " is declared twice");
        current->subgroups.push_back(name);
        return true;
    }
    if (same_word(key, "STUDY"))
        return study_record(f);
    return fail("unknown line type " + quoted(key));
}

bool parser::method_record(const std::vector<std::string_view>& f)
{
    if (!fields_between(f, 1, 2, "a measure (PETO, OR, RR, RD, WMD or SMD) and a model (fixed or random)"))
        return false;
    struct measure_word {
        const char* word;
        int code;
        bool dichotomous;
    };
    static const measure_word measures[] = {
        {"PETO", settings::MEASURE_PETO_OR, true}, {"OR", settings::MEASURE_OR, true},
        {"RR", settings::MEASURE_RR, true},        {"RD", settings::MEASURE_RD, true},
        {"WMD", settings::MEASURE_WMD, false},     {"SMD", settings::MEASURE_SMD, false},
    };
    const measure_word* found = nullptr;
    for (const auto& m : measures)
        if (same_word(f[1], m.word))
            found = &m;
    if (!found)
        return fail("unknown measure " + quoted(f[1]) + " (PETO, OR, RR, RD, WMD or SMD)");
    bool dichotomous = current->kind == data_kind::dichotomous;
    if (current->kind != data_kind::continuous && !dichotomous)
        return fail("an outcome without viewable data has no method");
    if (found->dichotomous != dichotomous)
        return fail(std::string("measure ") + found->word + " does not fit " +
                    (dichotomous ? "dichotomous" : "continuous") + " data");
    int model = settings::MODEL_FIXED;
    if (f.size() > 2) {
        if (same_word(f[2], "random"))
            model = settings::MODEL_RANDOM;
        else if (!same_word(f[2], "fixed"))
            return fail("the model is fixed or random, not " + quoted(f[2]));
    }
    if (found->code == settings::MEASURE_PETO_OR && model == settings::MODEL_RANDOM)
        return fail("the Peto odds ratio has a fixed-effect model only");
    current->measure = found->code;
    current->model = model;
    return true;
}

bool parser::study_record(const std::vector<std::string_view>& f)
{
    if (current->kind == data_kind::no_numerical_data || current->kind == data_kind::not_viewable)
        return fail("an outcome without viewable data has no studies");
    if (++studies > MAX_STUDIES)
        return fail("a review holds at most " + std::to_string(MAX_STUDIES) + " studies");
    bool dichotomous = current->kind == data_kind::dichotomous;
    if (!fields_between(f, dichotomous ? 7 : 9, dichotomous ? 9 : 11,
                        dichotomous ? "name, year, subgroup, events and total per arm, quality, user"
                                    : "name, year, subgroup, participants, mean and SD per arm, quality, user"))
        return false;
    study s;
    if (f[1].empty())
        return fail("a study needs a name");
    s.name = cp1252::from_utf8(f[1]);
    s.year = cp1252::from_utf8(f[2]);
    if (current->subgroups.empty()) {
        if (!f[3].empty())
            return fail("subgroup " + quoted(f[3]) + " is not declared (SUBGROUP line)");
    } else {
        auto group = subgroup_index.find(cp1252::from_utf8(f[3]));
        if (group == subgroup_index.end())
            return fail(f[3].empty() ? std::string("this outcome has subgroups: name the study's subgroup")
                                     : "subgroup " + quoted(f[3]) + " is not declared (SUBGROUP line)");
        s.group = group->second;
    }
    size_t extra;
    if (dichotomous) {
        if (!count(f[4], "experimental events", s.expt_events) || !count(f[5], "experimental total", s.expt_total) ||
            !count(f[6], "control events", s.ctrl_events) || !count(f[7], "control total", s.ctrl_total))
            return false;
        if (s.expt_events > s.expt_total || s.ctrl_events > s.ctrl_total)
            return fail("more events than participants in an arm");
        extra = 8;
    } else {
        if (!count(f[4], "experimental participants", s.expt_n) || !number(f[5], "experimental mean", s.expt_mean) ||
            !number(f[6], "experimental SD", s.expt_sd) || !count(f[7], "control participants", s.ctrl_n) ||
            !number(f[8], "control mean", s.ctrl_mean) || !number(f[9], "control SD", s.ctrl_sd))
            return false;
        if (s.expt_sd < 0 || s.ctrl_sd < 0)
            return fail("a standard deviation cannot be negative");
        extra = 10;
    }
    if (f.size() > extra)
        s.quality = cp1252::from_utf8(f[extra]);
    if (f.size() > extra + 1)
        s.user = cp1252::from_utf8(f[extra + 1]);
    current->studies.push_back(std::move(s));
    return true;
}

// Fills in the default method of the outcome being closed.
void parser::finish_outcome()
{
    if (current && current->measure == 0)
        current->measure = current->kind == data_kind::continuous ? settings::MEASURE_WMD : settings::MEASURE_OR;
}

} // namespace

bool parse_review(std::string_view text, review_data& out, std::string& error)
{
    out = review_data{};
    parser p{out, {}, 0, nullptr, 0, 0, {}};
    if (text.substr(0, 3) == "\xEF\xBB\xBF") // byte-order mark
        text.remove_prefix(3);
    for (size_t start = 0; start < text.size();) {
        size_t end = std::min(text.find('\n', start), text.size());
        std::string_view line = text.substr(start, end - start);
        start = end + 1;
        ++p.line;
        if (line.find_first_not_of(" \t\r") == std::string_view::npos || trim(line).front() == '#')
            continue;
        std::vector<std::string_view> fields;
        for (size_t from = 0;;) {
            size_t tab = line.find('\t', from);
            fields.push_back(trim(line.substr(from, tab == std::string_view::npos ? tab : tab - from)));
            if (tab == std::string_view::npos)
                break;
            from = tab + 1;
        }
        while (fields.size() > 1 && fields.back().empty()) // spreadsheets pad rows with empty cells
            fields.pop_back();
        if (!p.record(fields)) {
            error = p.error;
            out = review_data{};
            return false;
        }
    }
    p.finish_outcome();
    if (out.name.empty()) {
        error = "the file holds no REVIEW line";
        return false;
    }
    return true;
}

bool load_review(const std::string& path, review_data& out, std::string& error)
{
    std::error_code ec;
    std::ifstream in(path, std::ios::binary);
    if (!std::filesystem::is_regular_file(path, ec) || !in) {
        error = "cannot read the review file " + path;
        return false;
    }
    if (std::filesystem::file_size(path, ec) > MAX_FILE_BYTES) {
        error = "the file " + path + " is too large for a review (over 64 MB)";
        return false;
    }
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad()) {
        error = "cannot read the review file " + path;
        return false;
    }
    return parse_review(text, out, error);
}

} // namespace review
