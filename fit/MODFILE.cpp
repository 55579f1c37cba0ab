#include "MODFILE.h"

#include "FIXTXT.h"
#include "MSG.h"
#include "NUMSCAN.h"

#include <cstdio>
#include <memory>

namespace {
bool separator(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == ',';
}

// Splits one line into values; false with a reason when the line cannot be split.
bool splitline(std::string_view line, std::vector<MODVAL> &vals, std::string &why) {
    std::size_t i = 0;
    bool aftercomma = true; // a comma here would leave an empty value
    while (i < line.size()) {
        char c = line[i];
        if (c == ',') {
            if (aftercomma) {
                why = "empty value before the comma in column " + std::to_string(i + 1);
                return false;
            }
            aftercomma = true;
            ++i;
        } else if (separator(c)) {
            ++i;
        } else if (c == '\'' || c == '"') {
            MODVAL v{"", true};
            std::size_t start = i++;
            for (;;) {
                if (i >= line.size()) {
                    why =
                        "the quoted value starting in column " + std::to_string(start + 1) + " is not closed";
                    return false;
                }
                if (line[i] == c) {
                    if (i + 1 < line.size() && line[i + 1] == c) { // doubled quote
                        v.text += c;
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                v.text += line[i++];
            }
            vals.push_back(std::move(v));
            aftercomma = false;
        } else {
            std::size_t start = i;
            while (i < line.size() && !separator(line[i]))
                ++i;
            vals.push_back({std::string(line.substr(start, i - start)), false});
            aftercomma = false;
        }
    }
    return true;
}

std::string shown(const MODVAL &v) {
    return v.quoted ? "'" + v.text + "'" : "\"" + v.text + "\"";
}
} // namespace

MODLINE::MODLINE(const MODFILE &file, int lineno, std::string what, std::vector<MODVAL> vals)
    : file_(&file), lineno_(lineno), what_(std::move(what)), vals_(std::move(vals)) {}

void MODLINE::fail(std::string_view detail) const {
    file_->fail(lineno_, detail);
}

void MODFILE::fail(int lineno, std::string_view detail) const {
    STOPRUN("Error: model file " + name_ + ", line " + std::to_string(lineno) + ": " + std::string(detail));
}

const MODVAL &MODLINE::value(std::size_t k) const {
    if (k >= vals_.size()) fail("expected " + what_ + ", found too few values");
    return vals_[k];
}

std::string MODLINE::text(std::size_t k, std::size_t width) const {
    return PADTXT(value(k).text, width);
}

int MODLINE::integer(std::size_t k) const {
    const MODVAL &v = value(k);
    int r = 0;
    if (v.quoted || !SCANINT(v.text, r))
        fail("expected " + what_ + ", value " + std::to_string(k + 1) + " is not an integer: " + shown(v));
    return r;
}

double MODLINE::real(std::size_t k) const {
    const MODVAL &v = value(k);
    double r = 0;
    if (v.quoted || !SCANREAL(v.text, r))
        fail("expected " + what_ + ", value " + std::to_string(k + 1) + " is not a number: " + shown(v));
    return r;
}

MODFILE::MODFILE(std::string name, std::string text) : name_(std::move(name)), text_(std::move(text)) {}

MODFILE MODFILE::open(const std::string &path) {
    std::unique_ptr<std::FILE, int (*)(std::FILE *)> f(std::fopen(path.c_str(), "rb"), std::fclose);
    if (!f) STOPRUN("Error: cannot open the model file " + path);
    std::string text;
    char buf[65536];
    std::size_t got;
    while ((got = std::fread(buf, 1, sizeof buf, f.get())) > 0)
        text.append(buf, got);
    if (std::ferror(f.get())) STOPRUN("Error: cannot read the model file " + path);
    return MODFILE(path, std::move(text));
}

MODLINE MODFILE::next(std::string_view what) {
    while (pos_ < text_.size()) {
        std::size_t end = text_.find('\n', pos_);
        if (end == std::string::npos) end = text_.size();
        std::string_view line(text_.data() + pos_, end - pos_);
        pos_ = end + 1;
        ++lineno_;
        std::vector<MODVAL> vals;
        std::string why;
        if (!splitline(line, vals, why)) fail(lineno_, why);
        if (!vals.empty()) return MODLINE(*this, lineno_, std::string(what), std::move(vals));
    }
    STOPRUN("Error: model file " + name_ + " ends after line " + std::to_string(lineno_) + "; expected " +
            std::string(what));
}
