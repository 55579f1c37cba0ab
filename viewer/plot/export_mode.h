// orvantaiv --export FILE [--outcome N] REVIEW: forest plots as figure files, without a window.
#pragma once

#include <string>
#include <vector>

// arguments are those after "--export". N counts the outcome rows of the review from 1; without
// it every outcome that has a plot is written, to FILE with the outcome's number put before the
// extension ("plot.png" -> "plot3.png"). Prints each file written; returns the exit status
// (0 done, 1 failed, 2 usage).
int run_export(const std::vector<std::string> &arguments);
