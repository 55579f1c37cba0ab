#include "RECFMT.h"

#include "MSG.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdio>

namespace {
bool isdig(char c) {
    return c >= '0' && c <= '9';
}
bool datakind(char k) {
    return k == 'F' || k == 'E' || k == 'D' || k == 'G' || k == 'I';
}

} // namespace

bool FIELDVAL(std::string_view field, char kind, int d, double &v) {
    char s[64]; // the field without its blanks
    std::size_t len = 0;
    for (char c : field) {
        if (c == ' ' || c == '\t') continue;
        if (len == sizeof s) return false;
        s[len++] = c;
    }
    if (len == 0) {
        v = 0;
        return true;
    }
    std::size_t i = 0;
    bool neg = false;
    if (s[0] == '+' || s[0] == '-') neg = s[i++] == '-';
    std::size_t m0 = i;
    int digits = 0;
    bool dot = false;
    for (; i < len; ++i) {
        if (isdig(s[i]))
            ++digits;
        else if (s[i] == '.' && !dot && kind != 'I')
            dot = true;
        else
            break;
    }
    if (digits == 0) return false;
    std::string_view mantissa(s + m0, i - m0);
    long exp = 0;
    if (i < len) { // exponent: a letter E, D or Q and an optional sign, or a sign alone
        if (kind == 'I') return false;
        char c = static_cast<char>(std::toupper(static_cast<unsigned char>(s[i])));
        if (c == 'E' || c == 'D' || c == 'Q')
            ++i;
        else if (c != '+' && c != '-')
            return false;
        bool eneg = false;
        if (i < len && (s[i] == '+' || s[i] == '-')) eneg = s[i++] == '-';
        if (i == len) return false;
        for (; i < len; ++i) {
            if (!isdig(s[i])) return false;
            exp = std::min(exp * 10 + (s[i] - '0'), 99999L);
        }
        if (eneg) exp = -exp;
    }
    if (!dot && kind != 'I') exp -= d;
    char norm[96]; // sign, mantissa, 'e', exponent: what from_chars reads
    char *e = norm;
    if (neg) *e++ = '-';
    e = std::copy(mantissa.begin(), mantissa.end(), e);
    *e++ = 'e';
    e = std::to_chars(e, norm + sizeof norm, exp).ptr;
    auto [ptr, ec] = std::from_chars(norm, e, v);
    return ec == std::errc() && ptr == e && std::isfinite(v);
}

void RECFMT::fail(std::size_t pos, std::string_view what) const {
    STOPRUN("Error: bad FORMAT \"" + text_ + "\" at character " + std::to_string(pos + 1) + ": " +
            std::string(what));
}

RECFMT::RECFMT(std::string_view text) : text_(text) {
    std::size_t i = 0;
    auto peek = [&]() -> char {
        while (i < text_.size() && (text_[i] == ' ' || text_[i] == '\t'))
            ++i;
        return i < text_.size() ? static_cast<char>(std::toupper(static_cast<unsigned char>(text_[i])))
                                : '\0';
    };
    auto number = [&](std::int64_t &v) -> bool { // digits, blanks between them ignored
        if (!isdig(peek())) return false;
        std::size_t at = i;
        v = 0;
        while (isdig(peek())) {
            v = v * 10 + (text_[i++] - '0');
            if (v > MAXNUM) fail(at, "number larger than " + std::to_string(MAXNUM));
        }
        return true;
    };

    if (peek() != '(') fail(i, "a format begins with (");
    ++i;
    std::vector<std::size_t> open;    // groups not yet closed
    std::size_t lastgroup = SIZE_MAX; // last group at the top level
    bool needsep = false;             // an item was just read: a comma, '/', ':' or ')' must follow
    bool commaok = false;             // a comma may stand here
    bool aftercomma = false;
    for (;;) {
        char c = peek();
        std::size_t at = i;
        if (c == '\0') fail(i, "expected )");
        if (c == ',') {
            if (!commaok) fail(at, "unexpected ,");
            ++i;
            needsep = commaok = false;
            aftercomma = true;
            continue;
        }
        if (c == ')') {
            if (aftercomma) fail(at, "expected an edit descriptor after the comma");
            ++i;
            if (open.empty()) break;
            std::size_t b = open.back();
            open.pop_back();
            nodes_.push_back(NODE(')'));
            nodes_.back().at = at;
            nodes_.back().match = b;
            nodes_[b].match = nodes_.size() - 1;
            if (open.empty()) lastgroup = b;
            needsep = commaok = true;
            aftercomma = false;
            continue;
        }
        if (c == '/' || c == ':') {
            ++i;
            nodes_.push_back(NODE(c));
            nodes_.back().text = std::string(1, c);
            nodes_.back().at = at;
            needsep = aftercomma = false;
            commaok = true;
            continue;
        }
        if (needsep) fail(at, "expected , or )");
        std::int64_t rep = 0;
        bool hasrep = number(rep);
        if (hasrep && rep == 0) fail(at, "a repeat count must be at least 1");
        NODE nd('\0');
        nd.rep = hasrep ? rep : 1;
        nd.at = at;
        c = peek();
        std::size_t kindat = i;
        if (c == '(' || c == '/') {
            ++i;
            nd.kind = c;
            nd.text = text_.substr(at, i - at);
            nodes_.push_back(nd);
            if (c == '(') open.push_back(nodes_.size() - 1);
            needsep = aftercomma = false;
            commaok = c == '/';
            continue;
        }
        if (c == 'X') {
            ++i;
            nd.kind = 'X';
            nd.n = nd.rep;
            nd.rep = 1;
        } else if (c == 'F' || c == 'E' || c == 'D' || c == 'G' || c == 'I') {
            ++i;
            nd.kind = c;
            if (!number(nd.n) || nd.n == 0) fail(i, "expected the field width (at least 1)");
            std::int64_t d = 0;
            if (peek() == '.') {
                ++i;
                if (!number(d)) fail(i, "expected a number after the point");
            }
            nd.d = c == 'I' ? 0 : static_cast<int>(d);
            if ((c == 'E' || c == 'G') && peek() == 'E') { // exponent width, which input ignores
                ++i;
                std::int64_t e;
                if (!number(e)) fail(i, "expected the exponent width");
            }
        } else if (c == 'T') {
            if (hasrep) fail(at, "T, TL and TR take no repeat count");
            ++i;
            char c2 = peek();
            nd.kind = 'T';
            if (c2 == 'L' || c2 == 'R') {
                ++i;
                nd.kind = c2;
            }
            if (!number(nd.n)) fail(i, "expected a number");
            if (nd.kind == 'T' && nd.n == 0) fail(i, "columns are counted from 1");
        } else {
            fail(kindat, c == '\0' ? "expected )"
                         : hasrep  ? "expected an edit descriptor after the repeat count"
                                   : "unknown edit descriptor");
        }
        nd.text = text_.substr(at, i - at);
        nd.text.erase(std::remove(nd.text.begin(), nd.text.end(), ' '), nd.text.end());
        nodes_.push_back(nd);
        needsep = commaok = true;
        aftercomma = false;
    }
    if (peek() != '\0') fail(i, "text after the closing )");

    // How many descriptors one pass expands to (saturating), and whether it reads anything at all.
    std::vector<std::int64_t> sums{0};
    bool anydata = false;
    for (const NODE &nd : nodes_) {
        std::int64_t cost = 1;
        if (nd.kind == '(') {
            sums.push_back(0);
            continue;
        }
        if (nd.kind == ')') {
            std::int64_t inner = sums.back() + 2;
            sums.pop_back();
            std::int64_t rep = nodes_[nd.match].rep;
            cost = inner > MAXSTEPS / rep ? MAXSTEPS + 1 : inner * rep;
        } else if (datakind(nd.kind) || nd.kind == '/') {
            cost = nd.rep;
        }
        anydata = anydata || datakind(nd.kind);
        sums.back() = std::min(sums.back() + cost, MAXSTEPS + 1);
    }
    if (!anydata) fail(0, "it holds no data field (F, E, D, G or I)");
    if (sums.back() > MAXSTEPS)
        fail(0, "it expands to more than " + std::to_string(MAXSTEPS) + " descriptors");
    revert_ = lastgroup == SIZE_MAX ? 0 : lastgroup;
    revertdata_ =
        std::any_of(nodes_.begin() + revert_, nodes_.end(), [](const NODE &nd) { return datakind(nd.kind); });
    stack_.reserve(nodes_.size());
}

bool RECFMT::read(DATFILE &src, double *row, int p) {
    std::string_view rec;
    if (!src.nextline(rec)) return false;
    std::int64_t col = 1; // next column of the record, from 1
    int got = 0;
    std::size_t pos = 0;
    stack_.clear();
    for (;;) {
        if (pos == nodes_.size()) { // descriptors run out
            if (got == p) return true;
            if (!revertdata_)
                fail(nodes_[revert_].at, "the values run out of data fields: its last group holds none");
            if (!src.nextline(rec)) return false;
            col = 1;
            pos = revert_;
            stack_.clear();
            continue;
        }
        const NODE &nd = nodes_[pos];
        switch (nd.kind) {
        case '(':
            stack_.push_back({pos, nd.rep});
            break;
        case ')':
            if (--stack_.back().left > 0) {
                pos = stack_.back().begin;
            } else {
                stack_.pop_back();
            }
            break;
        case 'X':
        case 'R':
            col += nd.n;
            break;
        case 'L':
            col = std::max<std::int64_t>(1, col - nd.n);
            break;
        case 'T':
            col = nd.n;
            break;
        case '/':
            for (std::int64_t k = 0; k < nd.rep; ++k)
                if (!src.nextline(rec)) return false;
            col = 1;
            break;
        case ':':
            if (got == p) return true;
            break;
        default: // a data field
            for (std::int64_t k = 0; k < nd.rep; ++k) {
                if (got == p) return true;
                std::int64_t from = col - 1;
                std::string_view field;
                if (from < static_cast<std::int64_t>(rec.size()))
                    field = rec.substr(static_cast<std::size_t>(from), static_cast<std::size_t>(nd.n));
                if (!FIELDVAL(field, nd.kind, nd.d, row[got]))
                    STOPRUN("Error: data file " + src.name() + ", line " + std::to_string(src.lineno()) +
                            ", columns " + std::to_string(col) + "-" + std::to_string(col + nd.n - 1) +
                            ": field " + nd.text + " does not hold a number: " + SHOWDATA(field));
                ++got;
                col += nd.n;
            }
        }
        ++pos;
    }
}
