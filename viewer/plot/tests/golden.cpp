#include "golden.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace plot_test {

::testing::AssertionResult matches_golden(const std::string &name, const std::string &recording) {
    // The golden files lie beside this source file.
    std::string path = (std::filesystem::path(__FILE__).parent_path() / "golden" / (name + ".txt")).string();
    std::ifstream in(path, std::ios::binary);
    std::stringstream expected;
    expected << in.rdbuf();
    if (expected.str() == recording) return ::testing::AssertionSuccess();
    if (const char *update = std::getenv("UPDATE_GOLDEN"); update && std::string(update) == "1") {
        std::ofstream(path, std::ios::binary) << recording;
        return ::testing::AssertionFailure() << "rewrote " << path << "; review it and run again";
    }
    return ::testing::AssertionFailure() << path << " differs; the recording is:\n" << recording;
}

} // namespace plot_test
