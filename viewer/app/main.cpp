// orvantaiv: the forest-plot viewer. For now only its batch modes, which need no window.
#include "batch_modes.h"
#include "export_mode.h"

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
    if (argc < 2)
        return usage();
    for (const batch_mode& m : modes)
        if (std::strcmp(argv[1], m.option) == 0) {
            if (m.argument_count >= 0 && argc - 2 != m.argument_count)
                return usage();
            return m.run(std::vector<std::string>(argv + 2, argv + argc));
        }
    return usage();
}
