#include "about_box.h"

#include "pictures.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <sys/utsname.h>
#include <unistd.h>

namespace {

// The value of "key: value" or "KEY=value" lines of a text file, or "".
std::string field(const char *path, const std::string &key, char separator) {
    std::ifstream in(path);
    std::string line;
    while (std::getline(in, line)) {
        if (!line.starts_with(key)) continue;
        size_t at = line.find(separator, key.size());
        if (at == std::string::npos || line.find_first_not_of(" \t", key.size()) != at) continue;
        std::string value = line.substr(at + 1);
        size_t begin = value.find_first_not_of(" \t\"");
        size_t end = value.find_last_not_of(" \t\"");
        return begin == std::string::npos ? "" : value.substr(begin, end - begin + 1);
    }
    return "";
}

// A "/proc/meminfo" figure ("MemTotal:  16314432 kB") in megabytes.
long long meminfo_mb(const char *key) {
    std::string value = field("/proc/meminfo", key, ':');
    return std::strtoll(value.c_str(), nullptr, 10) / 1024;
}

} // namespace

SystemFacts read_system_facts() {
    SystemFacts f;
    f.processor = field("/proc/cpuinfo", "model name", ':');
    f.processors = static_cast<int>(sysconf(_SC_NPROCESSORS_ONLN));
    long long pages = sysconf(_SC_PHYS_PAGES), page_size = sysconf(_SC_PAGE_SIZE);
    if (pages > 0 && page_size > 0) f.physical_mb = pages * page_size / (1 << 20);
    f.available_mb = meminfo_mb("MemAvailable");
    f.virtual_mb = std::max(0LL, meminfo_mb("CommitLimit") - meminfo_mb("Committed_AS"));
    f.operating_system = field("/etc/os-release", "PRETTY_NAME", '=');
    utsname u;
    if (uname(&u) == 0) {
        if (f.operating_system.empty()) f.operating_system = u.sysname;
        f.kernel = std::string(u.sysname) + " " + u.release + " " + u.machine;
    }
    return f;
}

std::string system_text(const SystemFacts &f) {
    std::ostringstream text;
    text << "Processor: \t\t" << (f.processor.empty() ? "unknown" : f.processor) << " \n"
         << "Number of processors: \t" << f.processors << "  \n"
         << "Physical Memory: \t\t" << f.physical_mb << "Mb \n"
         << "Available Memory: \t\t" << f.available_mb << "Mb \n"
         << "Available Virtual Memory: \t" << f.virtual_mb << "Mb \n"
         << "Operating system: \t\t" << f.operating_system << "\n"
         << "Kernel: \t\t\t" << f.kernel << "\n"
         << "\n"
         << "Supported Plugins: \n"
         << "Orvanta Methods v1.1\n"
         << "Bitmap Exporter v1.0";
    return text.str();
}

std::unique_ptr<QDialog> make_about_box(QWidget *parent) {
    auto dialog = std::make_unique<QDialog>(parent);
    dialog->setWindowTitle("About Orvanta");
    auto *picture = new QLabel;
    picture->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    picture->setPixmap(about_picture());
    picture->setScaledContents(true);
    picture->setFixedSize(235, 143);
    // The text's "label:<tabs>value" lines as two aligned columns.
    auto *text = new QGridLayout;
    const QStringList lines = QString::fromStdString(system_text(read_system_facts())).split('\n');
    for (int row = 0; row < lines.size(); ++row) {
        qsizetype tab = lines[row].indexOf('\t');
        if (tab < 0) {
            text->addWidget(new QLabel(lines[row]), row, 0, 1, 2);
        } else {
            text->addWidget(new QLabel(lines[row].left(tab).trimmed()), row, 0);
            text->addWidget(new QLabel(lines[row].mid(lines[row].lastIndexOf('\t') + 1).trimmed()), row, 1);
        }
    }
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok);
    QObject::connect(buttons, &QDialogButtonBox::accepted, dialog.get(), &QDialog::accept);
    auto *row = new QHBoxLayout;
    row->addWidget(picture, 0, Qt::AlignTop);
    row->addLayout(text);
    auto *layout = new QVBoxLayout(dialog.get());
    layout->addLayout(row);
    layout->addWidget(buttons);
    return dialog;
}

void show_about_box(QWidget *parent) {
    make_about_box(parent)->exec();
}
