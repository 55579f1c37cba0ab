// The window program: one instance per user at a time, guarded by the named mutex "ORVANTAIV"
// (ORVANTAIV_LOCK_NAME in the environment names another, so that tests keep to their own).
#pragma once

#include <string>

std::string instance_lock_name();

// orvantaiv [REVIEW]: the main window, with the review opened when one path is given. Returns the
// exit status: 0 after Exit, 1 when another instance runs or the review cannot be loaded.
int run_window_program(int argc, char **argv);
