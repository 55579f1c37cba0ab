// The engine's diagnostic log. The path comes from the environment variable QLEX_LOG; unset or
// empty, nothing is written. Each line is the local time "hh:mm:ss ", the message and a newline.
#pragma once

namespace orthix {

void logLine(const char* format, ...) __attribute__((format(printf, 1, 2)));

} // namespace orthix
