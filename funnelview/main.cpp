// funnelview: the funnel plot of one outcome's studies, as orvantaiv hands them over.
//   funnelview [--export FILE.png] [DATA]
// DATA is a file in the format of funnel_data.h; without it (or with "-") the data are read from
// standard input, which is how orvantaiv passes them. With --export the plot is written to a PNG
// file and no window opens (no display is needed then).
#include "funnel_data.h"
#include "funnel_window.h"

#include <QApplication>
#include <QGuiApplication>
#include <QMessageBox>

#include <clocale>
#include <fstream>
#include <iostream>
#include <memory>

namespace {

int usage() {
    std::cerr << "usage: funnelview [--export FILE.png] [DATA]\n"
                 "  DATA: funnel-plot data (standard input when omitted or \"-\")\n";
    return 2;
}

bool read_input(const std::string &source, funnel::Data &data, std::string &error) {
    if (source == "-") return funnel::read_data(std::cin, data, error);
    std::ifstream in(source, std::ios::binary);
    if (!in) {
        error = "cannot be read";
        return false;
    }
    return funnel::read_data(in, data, error);
}

// A failure the user of the window should see: a message box when a screen is there.
int report(const std::string &source, const std::string &error, bool window) {
    std::string text = "funnelview: " + (source == "-" ? "standard input" : source) + ": " + error;
    std::cerr << text << '\n';
    if (window && QGuiApplication::platformName() != "offscreen")
        QMessageBox::warning(nullptr, "Funnel Plot", QString::fromStdString(text));
    return 1;
}

} // namespace

int main(int argc, char **argv) {
    std::string export_path, source = "-";
    int i = 1;
    if (i < argc && std::string(argv[i]) == "--export") {
        if (i + 1 >= argc) return usage();
        export_path = argv[i + 1];
        i += 2;
    }
    if (i < argc) source = argv[i++];
    if (i < argc || (source.size() > 1 && source[0] == '-')) return usage();
    if (!export_path.empty() && !(export_path.size() > 4 && export_path.ends_with(".png"))) {
        std::cerr << "funnelview: " << export_path << ": figures are written as .png files\n";
        return 2;
    }

    funnel::Data data;
    std::string error;
    bool ok = read_input(source, data, error);
    if (!export_path.empty()) {
        if (!ok) return report(source, error, false);
        // Fonts need a QGuiApplication; the offscreen platform draws without a display.
        static int qt_argc = 3;
        static char name[] = "funnelview", option[] = "-platform", platform[] = "offscreen";
        static char *qt_argv[] = {name, option, platform, nullptr};
        QGuiApplication app(qt_argc, qt_argv);
        std::setlocale(LC_NUMERIC, "C"); // Qt adopts the user's locale; numbers keep their "." here
        QString message;
        if (!export_funnel_png(data, QString::fromStdString(export_path), message)) {
            std::cerr << "funnelview: " << export_path << ": " << message.toStdString() << '\n';
            return 1;
        }
        std::cout << export_path << '\n';
        return 0;
    }

    QApplication app(argc, argv);
    std::setlocale(LC_NUMERIC, "C"); // Qt adopts the user's locale; numbers keep their "." here
    if (!ok) return report(source, error, true);
    FunnelWindow window(std::move(data));
    window.show();
    return app.exec();
}
