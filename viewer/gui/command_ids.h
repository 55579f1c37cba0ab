// The program's command identifiers: menu items and toolbar buttons. A toolbar button that repeats
// a menu item has its own number, as the toolbar's tips are looked up by it (tip = id + 1000).
#pragma once

namespace cmd {

enum id : int {
    OPEN = 104,
    PRINT = 21864,
    EXIT = 108,
    DETAIL = 21865,
    SCALE_FIRST = 11845, // 11845..11850: scale index 0..5
    STUDY_CI_90 = 11853,
    STUDY_CI_95 = 11852,
    STUDY_CI_99 = 11851,
    TOTAL_CI_90 = 11856,
    TOTAL_CI_95 = 11855,
    TOTAL_CI_99 = 11854,
    SHOW_RAW = 12864,
    SHOW_WEIGHT = 12865,
    SHOW_GRAPH = 12866,
    SHOW_CI = 12867,
    SHOW_YEAR = 12868,
    SHOW_QUALITY = 12869,
    SHOW_OE = 12870,
    SHOW_USER = 11964,
    SORT_FIRST = 3100, // 3100..3105: sort keys 1..6
    FIXED_MODEL = 11844,
    RANDOM_MODEL = 11857,
    PETO_OR = 11858,
    ODDS_RATIO = 11859,
    RELATIVE_RISK = 11860,
    RISK_DIFFERENCE = 11861,
    WEIGHTED_MEAN_DIFFERENCE = 11862,
    STANDARDISED_MEAN_DIFFERENCE = 11863,
    PREVIOUS = 11843,
    NEXT = 1145,
    HELP_TOPICS = 21874,
    ABOUT = 11842,

    // Toolbar buttons.
    DETAIL_BUTTON = 600,
    PRINT_BUTTON = 601,
    PREVIOUS_BUTTON = 602,
    NEXT_BUTTON = 603,
    OPEN_BUTTON = 606,
    EXPORT_BUTTON = 607,
    FUNNEL_BUTTON = 608,
};

} // namespace cmd
