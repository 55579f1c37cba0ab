#include "log.h"

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <ctime>

namespace orthix {

void logLine(const char* format, ...) {
    const char* path = std::getenv("QLEX_LOG");
    if (!path || !*path)
        return;
    // Opened per line in append mode, so lines of several processes interleave whole.
    std::FILE* f = std::fopen(path, "a");
    if (!f)
        return;
    std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char line[1024];
    int n = std::snprintf(line, sizeof line, "%02d:%02d:%02d ", local.tm_hour, local.tm_min, local.tm_sec);
    va_list args;
    va_start(args, format);
    std::vsnprintf(line + n, sizeof line - n - 1, format, args);
    va_end(args);
    std::fprintf(f, "%s\n", line);
    std::fclose(f);
}

} // namespace orthix
