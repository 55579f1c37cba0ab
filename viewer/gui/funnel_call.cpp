#include "funnel_call.h"

#include "cells.h"
#include "distributions.h"
#include "menu_state.h"
#include "outcome_record.h"
#include "settings.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sstream>
#include <sys/wait.h>
#include <unistd.h>

namespace {

using namespace settings;

std::string temporary_folder() {
    for (const char *name : {"TMP", "TMPDIR"})
        if (const char *value = std::getenv(name); value && *value) return value;
    return "/tmp";
}

// An open, already unlinked temporary file holding text, positioned at its start; -1 on failure.
int unnamed_file_with(const std::string &text, std::string &error) {
    std::string pattern = temporary_folder() + "/funnelview-XXXXXX";
    int fd = mkostemp(pattern.data(), O_CLOEXEC);
    if (fd < 0) {
        error = "cannot create a temporary file in " + temporary_folder() + ": " + std::strerror(errno);
        return -1;
    }
    unlink(pattern.c_str());
    for (size_t done = 0; done < text.size();) {
        ssize_t n = write(fd, text.data() + done, text.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            error = std::string("cannot write the temporary file: ") + std::strerror(errno);
            close(fd);
            return -1;
        }
        done += static_cast<size_t>(n);
    }
    lseek(fd, 0, SEEK_SET);
    return fd;
}

// Starts program with input as its standard input, detached (a grandchild, so that no zombie is
// left behind when it ends).
bool start_detached(const std::string &program, int input, std::string &error) {
    if (access(program.c_str(), X_OK) != 0) {
        error = program + " cannot be run: " + std::strerror(errno);
        return false;
    }
    const char *path = program.c_str();
    pid_t child = fork();
    if (child < 0) {
        error = std::string("cannot start funnelview: ") + std::strerror(errno);
        return false;
    }
    if (child == 0) {
        // Only async-signal-safe calls between fork and exec.
        if (fork() == 0) {
            setsid();
            dup2(input, STDIN_FILENO);
            execl(path, path, static_cast<char *>(nullptr));
            _exit(127);
        }
        _exit(0);
    }
    int status = 0;
    while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    return true;
}

} // namespace

bool funnel_data_of(const analysis &data, funnel::Data &out, std::string &error) {
    const _vectordef *settings_vector = data.IsVector("SETTINGS");
    const bool dichotomous = data.GetCellDouble(settings_vector, DATA_TYPE) == DICHOTOMOUS;
    const int measure = plot::truncated(data.GetCellDouble(settings_vector, MEASURE));
    out = funnel::Data{};
    out.ratio = commands::ratio_measure(measure);
    out.measure = measure_abbreviation(measure);
    out.title = plot::text_of(data.GetCellString(settings_vector, OUTCOME_NAME));

    const double z = meta::normal_critical(95);
    auto scaled = [&](double v) { return out.ratio ? std::log(v) : v; };
    const _vectordef *study = data.IsVector("STUDY");
    const _vectordef *effect = data.IsVector(dichotomous ? "OR" : "WMD");
    const _vectordef *lower = data.IsVector("CIL95");
    const _vectordef *upper = data.IsVector("CIH95");
    for (int row = 1; const char *name = data.GetCellString(study, row); ++row) {
        double e = data.GetCellDouble(effect, row), lo = data.GetCellDouble(lower, row),
               hi = data.GetCellDouble(upper, row);
        if (e == ANALYSIS_MISSING || lo == ANALYSIS_MISSING || hi == ANALYSIS_MISSING) continue;
        if (out.ratio && (e <= 0 || lo <= 0 || hi <= 0)) continue;
        double se = (scaled(hi) - scaled(lo)) / (2 * z);
        if (!std::isfinite(se) || se <= 0 || !std::isfinite(e)) continue;
        out.studies.push_back({plot::text_of(name), e, se});
    }
    out.pooled = data.GetCellDouble(data.IsVector("TOTAL"), dichotomous ? 5 : 1);
    if (out.pooled == ANALYSIS_MISSING || !std::isfinite(out.pooled) || (out.ratio && out.pooled <= 0)) {
        error = "The outcome has no pooled estimate to centre a funnel plot on.";
        return false;
    }
    if (out.studies.empty()) {
        error = "No study of the outcome has an estimable effect.";
        return false;
    }
    return true;
}

std::string funnelview_path(const std::string &program_dir) {
    return program_dir + "/funnelview";
}

bool baseMethod::CallFunnel(const std::string &funnelview_path, std::string &error) const {
    funnel::Data funnel;
    if (!funnel_data_of(Data(), funnel, error)) return false;
    std::ostringstream text;
    funnel::write_data(text, funnel);
    int input = unnamed_file_with(text.str(), error);
    if (input < 0) return false;
    bool started = start_detached(funnelview_path, input, error);
    close(input);
    return started;
}
