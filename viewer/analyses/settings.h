// The cells of a data set's "SETTINGS" vector, which hold the whole view state of an outcome, and
// the codes stored in them.
#pragma once

namespace settings {

enum cell : int {
    REVIEW_NAME = 1,      // text
    COMPARISON_NAME = 2,  // text
    OUTCOME_NAME = 3,     // text
    SCALED_OUTPUT = 5,    // non-zero: scaled output
    SCALE_INDEX = 6,      // 0..5
    DISPLAY_FLAGS = 7,    // FLAG_... below
    HEADER_HEIGHT = 8,
    TOTALS_OPTION = 9,    // TOTALS_... below
    STUDY_CI = 10,        // CI_... below
    TOTAL_CI = 11,        // CI_... below
    DATA_TYPE = 12,       // DICHOTOMOUS, else continuous
    MEASURE = 13,         // MEASURE_... below
    MODEL = 14,           // MODEL_... below
    OUTPUT_MODE = 15,     // 0 screen, 1 printer, 2 bitmap
    CAPTION_LEFT = 16,    // text
    CAPTION_RIGHT = 17,   // text
    EXPT_LABEL = 18,      // text
    CTRL_LABEL = 19,      // text
    STUDY_COUNT = 20,
    X_SCALE = 21,
    Y_SCALE = 22,
    H_SCROLL = 23,
    V_SCROLL = 24,
    CENTRE_DIFFERENCE = 25,
    CENTRE_RATIO = 26,
    AXIS_Y = 27,
    LINE_HEIGHT = 28,
    FIRST_ROW_Y = 29,
    HEADER_WIDTH = 30,
    PRINT_DONE = 31,
    PRINT_GROUP = 32,
    PRINT_ROW = 33,
    PRINT_LINES_LEFT = 34,
    BITMAP_AXIS_Y = 35,
    SORT_KEY = 36,
};

inline constexpr int DICHOTOMOUS = 101;
inline constexpr int CONTINUOUS = 102;

inline constexpr int MEASURE_PETO_OR = 300;
inline constexpr int MEASURE_WMD = 301;
inline constexpr int MEASURE_OR = 302;
inline constexpr int MEASURE_RR = 303;
inline constexpr int MEASURE_RD = 304;
inline constexpr int MEASURE_SMD = 305;

// The short name of a measure, as plot headers and the funnel plot show it ("" when unknown).
inline const char *measure_abbreviation(int measure) {
    switch (measure) {
    case MEASURE_PETO_OR:
        return "Peto OR";
    case MEASURE_OR:
        return "OR";
    case MEASURE_RR:
        return "RR";
    case MEASURE_RD:
        return "RD";
    case MEASURE_WMD:
        return "WMD";
    case MEASURE_SMD:
        return "SMD";
    }
    return "";
}

inline constexpr int MODEL_FIXED = 400;
inline constexpr int MODEL_RANDOM = 401;

inline constexpr int CI_90 = 0;
inline constexpr int CI_95 = 2;
inline constexpr int CI_99 = 4;

inline constexpr int TOTALS_ALL = 0;        // subtotals and total
inline constexpr int TOTALS_SUBTOTALS = 1;  // subtotals only
inline constexpr int TOTALS_NONE = 2;

inline constexpr int FLAG_RAW = 1;
inline constexpr int FLAG_WEIGHT = 2;
inline constexpr int FLAG_GRAPH = 4;
inline constexpr int FLAG_CI = 8;
inline constexpr int FLAG_YEAR = 16;
inline constexpr int FLAG_QUALITY = 32;
inline constexpr int FLAG_OE = 64;
inline constexpr int FLAG_USER = 128;

} // namespace settings
