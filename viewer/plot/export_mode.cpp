#include "export_mode.h"

#include "cp1252.h"
#include "outcome_list.h"
#include "png_export.h"
#include "scale.h"

#include <QGuiApplication>

#include <algorithm>
#include <cctype>
#include <charconv>
#include <clocale>
#include <iostream>
#include <memory>

namespace {

// The outcome rows of a loaded review, numbered from 1 in list order.
class outcome_rows : public outcomelist {
  public:
    struct row {
        std::string name; // Windows-1252
        std::unique_ptr<outcomeDef> record;
        bool drawable;
    };
    std::vector<row> rows;

    void SetColumnTitles(const std::array<std::string, 5> &) override {}
    void AddComparisonRow(const std::string &) override {}
    void AddOutcomeRow(const std::string &name, std::unique_ptr<outcomeDef> record,
                       const std::array<std::string, 4> &columns) override {
        const std::string &method = columns[2];
        bool drawable = record && !method.starts_with("No numerical data") &&
                        !method.starts_with("Other data [Not viewable]");
        rows.push_back({name, std::move(record), drawable});
    }
};

int usage() {
    std::cerr << "usage: orvantaiv --export FILE [--outcome N] REVIEW\n";
    return 2;
}

bool is_png(const std::string &file) {
    std::string lower = file;
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char ch) { return std::tolower(ch); });
    return lower.size() > 4 && lower.ends_with(".png");
}

// FILE with a number before the extension of its last path component.
std::string numbered(const std::string &file, int number) {
    size_t slash = file.rfind('/');
    size_t dot = file.rfind('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash))
        return file + std::to_string(number);
    return file.substr(0, dot) + std::to_string(number) + file.substr(dot);
}

// Fonts need a QGuiApplication; the offscreen platform draws without any display.
std::unique_ptr<QGuiApplication> offscreen_application() {
    if (QGuiApplication::instance()) return nullptr;
    static int argc = 3;
    static char name[] = "orvantaiv", option[] = "-platform", platform[] = "offscreen";
    static char *argv[] = {name, option, platform, nullptr};
    auto app = std::make_unique<QGuiApplication>(argc, argv);
    std::setlocale(LC_NUMERIC, "C"); // Qt adopts the user's locale; numbers keep their "." here
    return app;
}

// A stored scale index outside the table of its scale kind is drawn with the nearest valid one.
void warn_about_scale(analysis &data, int outcome) {
    plot::ViewSettings view(data);
    double stored = view.number(settings::SCALE_INDEX);
    int drawn = plot::current_scale(view).index;
    if (stored == drawn) return;
    std::cerr << "orvantaiv: outcome " << outcome << ": ";
    if (stored == ANALYSIS_MISSING)
        std::cerr << "no scale index";
    else
        std::cerr << "scale index " << stored << " is not in the table of its scale";
    std::cerr << "; drawn with scale " << drawn << '\n';
}

} // namespace

int run_export(const std::vector<std::string> &arguments) {
    int only = 0; // 0: every outcome with a plot
    if (arguments.size() == 4 && arguments[1] == "--outcome") {
        const std::string &n = arguments[2];
        auto [end, ec] = std::from_chars(n.data(), n.data() + n.size(), only);
        if (ec != std::errc() || end != n.data() + n.size() || only < 1) {
            std::cerr << "orvantaiv: --outcome takes an outcome number from 1, not \"" << n << "\"\n";
            return 2;
        }
    } else if (arguments.size() != 2) {
        return usage();
    }
    const std::string &file = arguments.front();
    const std::string &review = arguments.back();
    if (!is_png(file)) {
        std::cerr << "orvantaiv: " << file << ": figures are written as .png files\n";
        return 2;
    }

    outcome_rows list;
    char buffer[LOAD_BUFFER_SIZE];
    if (!CreateListView(list, review.c_str(), buffer)) {
        std::cerr << "orvantaiv: " << review << ": " << cp1252::to_utf8(buffer) << '\n';
        return 1;
    }
    int count = static_cast<int>(list.rows.size());
    if (only > count) {
        std::cerr << "orvantaiv: " << review << " has " << count << " outcomes; there is no outcome " << only
                  << '\n';
        return 1;
    }
    if (only && !list.rows[only - 1].drawable) {
        std::cerr << "orvantaiv: outcome " << only << " (" << cp1252::to_utf8(list.rows[only - 1].name)
                  << ") has no forest plot\n";
        return 1;
    }

    std::unique_ptr<QGuiApplication> app = offscreen_application();
    int status = 0, written = 0;
    for (int n = 1; n <= count; ++n) {
        outcome_rows::row &row = list.rows[n - 1];
        if ((only && n != only) || !row.drawable) continue;
        std::string path = only ? file : numbered(file, n);
        baseMethod *method = row.record->Current();
        std::string error = "Analysis not found!";
        if (method) warn_about_scale(method->Data(), n);
        if (!method || !plot::export_png(method->Data(), path, error)) {
            std::cerr << "orvantaiv: " << path << ": " << error << '\n';
            status = 1;
            continue;
        }
        std::cout << path << '\n';
        ++written;
    }
    if (written == 0 && status == 0) {
        std::cerr << "orvantaiv: " << review << " has no outcome with a forest plot\n";
        status = 1;
    }
    return status;
}
