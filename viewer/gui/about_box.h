// The About box: the program's picture and a text about this machine (processor, memory, operating
// system) and the plugins the program supports.
#pragma once

#include <memory>
#include <string>

class QDialog;
class QWidget;

struct SystemFacts {
    std::string processor;      // the processor's model name
    int processors = 0;         // online processors
    long long physical_mb = 0;  // installed memory
    long long available_mb = 0; // memory available for new programs without swapping
    long long virtual_mb = 0;   // memory that can still be committed (commit limit less committed)
    std::string operating_system;
    std::string kernel;
};

// Read from /proc, sysconf and uname; a fact that cannot be read stays empty or 0.
SystemFacts read_system_facts();
std::string system_text(const SystemFacts &facts);

// The dialog "About Orvanta"; show_about_box runs it modally.
std::unique_ptr<QDialog> make_about_box(QWidget *parent);
void show_about_box(QWidget *parent);
