// Any bytes as a review file: parsing, and for a file that parses, every outcome's record with all
// its method results and list columns. Nothing may crash, leak or trip the sanitizers.
#include "outcome_list.h"
#include "review_file.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    review::review_data review;
    std::string error;
    if (!review::parse_review(std::string_view(reinterpret_cast<const char*>(data), size), review, error))
        return 0;
    for (const review::comparison& c : review.comparisons)
        for (const review::outcome& o : c.outcomes) {
            std::unique_ptr<outcomeDef> record = BuildOutcomeRecord(review, c, o);
            OutcomeColumns(o, record.get());
        }
    return 0;
}
