#include "language.h"

namespace orthix {

int16_t languageFromNumber(long number) {
    struct Pair { long windowsId; int16_t code; };
    static constexpr Pair kTable[] = {
        {1033, 24941}, {2057, 25202}, {1027, 29539}, {1029, 25466}, {1030, 25697},
        {1043, 25717}, {1035, 26217}, {1036, 26226}, {1031, 26469}, {1038, 26741},
        {1040, 26996}, {1044, 25442}, {2068, 25444}, {1045, 28780}, {1046, 28770},
        {2070, 28783}, {1049, 29301}, {1034, 29552}, {1053, 29559},
    };
    for (const Pair& p : kTable)
        if (p.windowsId == number)
            return p.code;
    return static_cast<int16_t>(number);
}

} // namespace orthix
