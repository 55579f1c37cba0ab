// The funnel plot of a method result: its studies' effects and standard errors, handed to the
// separate program funnelview (baseMethod::CallFunnel, defined in funnel_call.cpp).
#pragma once

#include "analysis.h"
#include "funnel_data.h"

#include <string>

// The funnel data of a data set: each study with an effect and 95% limits, the standard error
// taken from the limits (on the log scale for ratio measures), and the total's pooled effect.
// False with the reason in error when no study or no pooled effect can be plotted.
bool funnel_data_of(const analysis &data, funnel::Data &out, std::string &error);

// funnelview beside the program: program_dir + "/funnelview".
std::string funnelview_path(const std::string &program_dir);
