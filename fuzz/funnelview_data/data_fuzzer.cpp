// Any bytes as funnel-plot data: either refused with a message, or drawn (on a recording canvas,
// so that every coordinate conversion runs under the sanitizers).
#include "funnel_data.h"
#include "funnel_plot.h"
#include "recording_canvas.h"

#include <cstdint>
#include <sstream>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    std::istringstream in(std::string(reinterpret_cast<const char *>(data), size));
    funnel::Data plot;
    std::string error;
    if (funnel::read_data(in, plot, error)) {
        canvas::RecordingCanvas c;
        funnel::draw_funnel_plot(c, plot);
    } else if (error.empty()) {
        __builtin_trap(); // every refusal says why
    }
    return 0;
}
