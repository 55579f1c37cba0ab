// Modes that run without a window: "orvantaiv --<mode> ARGUMENTS...". Each returns the exit status.
#pragma once

#include <string>
#include <vector>

struct batch_mode {
    const char* option;     // e.g. "--dump"
    const char* arguments;  // shown in the usage line, e.g. "REVIEW"
    int argument_count;     // -1: the mode checks its arguments itself
    int (*run)(const std::vector<std::string>& arguments);
};

int run_dump(const std::vector<std::string>& arguments);
