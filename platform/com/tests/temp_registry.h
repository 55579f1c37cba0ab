// Points COM_REGISTRY at a fresh file in a temporary folder for the life of a test, so tests
// never touch the user's registry.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <string>

#include <unistd.h>

class TempRegistry {
public:
    TempRegistry() {
        std::string pattern = (std::filesystem::temp_directory_path() / "com-registry-XXXXXX").string();
        folder_ = mkdtemp(pattern.data()) ? pattern : std::string();
        path_ = folder_ + "/registry";
        setenv("COM_REGISTRY", path_.c_str(), 1);
    }
    ~TempRegistry() {
        unsetenv("COM_REGISTRY");
        std::error_code ec;
        std::filesystem::remove_all(folder_, ec);
    }
    const std::string& path() const { return path_; }
    const std::string& folder() const { return folder_; }

private:
    std::string folder_, path_;
};
