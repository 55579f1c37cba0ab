#include "MSG.h"

#include <cinttypes>

namespace {
std::FILE *sink = nullptr;
std::FILE *out() {
    return sink ? sink : stdout;
}
} // namespace

void MSGSINK(std::FILE *s) {
    sink = s;
}

void MSG(std::string_view text) {
    std::FILE *f = out();
    std::fputc(' ', f);
    std::fwrite(text.data(), 1, text.size(), f);
    std::fputc('\n', f);
}

void MSGBLANK() {
    std::fputc('\n', out());
}

void STOPRUN(std::string_view text) {
    MSG(text);
    std::fflush(out());
    throw RUNSTOP{std::string(text)};
}

void STOPQUIET() {
    std::fflush(out());
    throw RUNSTOP{};
}

std::string IFMT(std::int64_t v, int w) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%*" PRId64, w, v);
    return buf;
}

std::string FFMT(double v, int w, int d) {
    char buf[64];
    int len = std::snprintf(buf, sizeof buf, "%*.*f", w, d, v);
    if (len < 0 || len >= static_cast<int>(sizeof buf)) // too large for fixed notation
        std::snprintf(buf, sizeof buf, "%*.*e", w, d, v);
    return buf;
}
