#include "program.h"

#include "main_window.h"
#include "message_box.h"
#include "named_mutex.h"

#include <QApplication>

#include <clocale>
#include <cstdlib>
#include <iostream>

std::string instance_lock_name() {
    const char *name = std::getenv("ORVANTAIV_LOCK_NAME");
    return name && *name ? name : "ORVANTAIV";
}

int run_window_program(int argc, char **argv) {
    QApplication app(argc, argv);
    std::setlocale(LC_NUMERIC, "C"); // Qt adopts the user's locale; numbers keep their "." here
    // The lock lives as long as this process: a second start finds it taken, and a crashed
    // instance hands it on (robust mutex), so it never blocks later starts.
    const std::string lock_name = instance_lock_name();
    NamedMutex instance(lock_name);
    NamedMutex::LockResult taken = instance.tryLock();
    bool holding = taken == NamedMutex::LockResult::Locked || taken == NamedMutex::LockResult::OwnerDied;
    if (taken == NamedMutex::LockResult::TimedOut) {
        show_message(nullptr, "Sorry, Only one Orvanta can exist at one time", "Orvanta 4.1",
                     MessageKind::warning);
        return 1;
    }
    if (!holding) std::cerr << "orvantaiv: the single-instance lock is not available; running without it\n";

    int status = 0;
    {
        MainWindow window(QCoreApplication::applicationDirPath());
        window.show();
        // Qt has taken its own options out of argv: what is left is the review path, if any.
        QStringList words = app.arguments().mid(1);
        if (words.size() == 1 && !window.open_review(words.front()))
            status = 1;
        else
            status = app.exec();
    }
    if (holding) {
        // Unlinked while still held, so that the next start creates the lock afresh.
        NamedMutex::remove(lock_name);
        instance.unlock();
    }
    return status;
}
