#include "batch_modes.h"

#include "dump.h"

#include <iostream>

// --dump REVIEW: the data sets of every outcome on standard output.
int run_dump(const std::vector<std::string>& arguments)
{
    std::string error;
    if (!WriteDump(arguments[0], std::cout, error)) {
        std::cerr << "orvantaiv: " << arguments[0] << ": " << error << '\n';
        return 1;
    }
    std::cout.flush();
    return std::cout ? 0 : 1;
}
