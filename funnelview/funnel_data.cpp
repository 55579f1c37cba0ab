#include "funnel_data.h"

#include <charconv>
#include <cmath>

namespace funnel {
namespace {

std::string number(double value) {
    char buffer[32];
    auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, result.ptr);
}

bool parse_number(const std::string &text, double &value) {
    const char *end = text.data() + text.size();
    auto result = std::from_chars(text.data(), end, value);
    return result.ec == std::errc() && result.ptr == end && std::fabs(value) <= MAX_MAGNITUDE;
}

// Tabs in a text would start a new field.
std::string field_text(std::string text) {
    for (char &ch : text)
        if (ch == '\t' || ch == '\n' || ch == '\r') ch = ' ';
    return text;
}

std::vector<std::string> split(const std::string &line) {
    std::vector<std::string> fields;
    size_t start = 0;
    for (;;) {
        size_t tab = line.find('\t', start);
        fields.push_back(line.substr(start, tab - start));
        if (tab == std::string::npos) return fields;
        start = tab + 1;
    }
}

} // namespace

void write_data(std::ostream &out, const Data &data) {
    out << "funnelview\t1\n";
    if (!data.title.empty()) out << "title\t" << field_text(data.title) << '\n';
    if (!data.measure.empty()) out << "measure\t" << field_text(data.measure) << '\n';
    out << "scale\t" << (data.ratio ? "ratio" : "difference") << '\n';
    out << "pooled\t" << number(data.pooled) << '\n';
    for (const Study &s : data.studies)
        out << "study\t" << field_text(s.name) << '\t' << number(s.effect) << '\t' << number(s.se) << '\n';
}

bool read_data(std::istream &in, Data &data, std::string &error) {
    data = Data{};
    std::string line;
    int line_number = 0;
    bool header = false, have_scale = false, have_pooled = false;
    auto fail = [&](const std::string &problem) {
        error = "line " + std::to_string(line_number) + ": " + problem;
        return false;
    };
    while (std::getline(in, line)) {
        ++line_number;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty()) continue;
        std::vector<std::string> f = split(line);
        const std::string &key = f[0];
        if (!header) {
            if (key != "funnelview" || f.size() != 2 || f[1] != "1")
                return fail("not funnel-plot data (the first line must be \"funnelview<TAB>1\")");
            header = true;
        } else if (key == "title" || key == "measure") {
            if (f.size() != 2) return fail(key + " takes one field");
            (key == "title" ? data.title : data.measure) = f[1];
        } else if (key == "scale") {
            if (f.size() != 2 || (f[1] != "ratio" && f[1] != "difference"))
                return fail("scale is \"ratio\" or \"difference\"");
            data.ratio = f[1] == "ratio";
            have_scale = true;
        } else if (key == "pooled") {
            if (f.size() != 2 || !parse_number(f[1], data.pooled))
                return fail("pooled takes one number (up to 1e100)");
            have_pooled = true;
        } else if (key == "study") {
            if (!have_scale) return fail("the scale must come before the studies");
            Study s;
            if (f.size() != 4 || !parse_number(f[2], s.effect) || !parse_number(f[3], s.se))
                return fail("a study has a name, an effect and a standard error (numbers up to 1e100)");
            if (data.ratio && s.effect < MIN_RATIO) return fail("a ratio must be positive (at least 1e-100)");
            if (s.se <= 0) return fail("a standard error must be positive");
            if (data.studies.size() == MAX_STUDIES) return fail("more than 100000 studies");
            s.name = f[1];
            data.studies.push_back(std::move(s));
        } else {
            return fail("unknown record \"" + key + "\"");
        }
    }
    if (in.bad()) return fail("the data could not be read");
    if (!header) {
        error = "no data";
        return false;
    }
    if (!have_scale || !have_pooled) return fail("the scale and the pooled effect are required");
    if (data.ratio && data.pooled < MIN_RATIO) return fail("a ratio must be positive (at least 1e-100)");
    return true;
}

} // namespace funnel
