// orvantaiv: the forest-plot viewer. With no argument or one review path it opens its window;
// the batch modes need no window and take no single-instance lock.
#include "batch_modes.h"
#include "export_mode.h"
#include "program.h"

#include <cstring>
#include <iostream>

namespace {

const batch_mode modes[] = {
    {"--dump", "REVIEW", 1, run_dump},
    {"--export", "FILE [--outcome N] REVIEW", -1, run_export},
};

int usage()
{
    std::cerr << "usage:\n";
    for (const batch_mode& m : modes)
        std::cerr << "  orvantaiv " << m.option << ' ' << m.arguments << '\n';
    return 2;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2 || (argc == 2 && argv[1][0] != '-'))
        return run_window_program(argc, argv);
    for (const batch_mode& m : modes)
        if (std::strcmp(argv[1], m.option) == 0) {
            if (m.argument_count >= 0 && argc - 2 != m.argument_count)
                return usage();
            return m.run(std::vector<std::string>(argv + 2, argv + argc));
        }
    return usage();
}
