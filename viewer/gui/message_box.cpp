#include "message_box.h"

#include "cp1252.h"

#include <QGuiApplication>
#include <QMessageBox>

#include <iostream>

namespace {

void default_message(QWidget *parent, const QString &text, const QString &title, MessageKind kind) {
    if (QGuiApplication::platformName() == "offscreen") {
        std::cerr << title.toStdString() << ": " << text.toStdString() << std::endl;
        return;
    }
    QMessageBox::Icon icon = kind == MessageKind::information ? QMessageBox::Information
                             : kind == MessageKind::warning   ? QMessageBox::Warning
                                                              : QMessageBox::Critical;
    QMessageBox box(icon, title, text, QMessageBox::Ok, parent);
    box.exec();
}

MessageFunction &current() {
    static MessageFunction function = default_message;
    return function;
}

} // namespace

void set_message_function(MessageFunction function) {
    current() = function ? std::move(function) : MessageFunction(default_message);
}

void show_message(QWidget *parent, const QString &text, const QString &title, MessageKind kind) {
    current()(parent, text, title, kind);
}

void Custom_Message(QWidget *window, const char *text, int kind) {
    show_message(window, QString::fromStdString(cp1252::to_utf8(text ? text : "")), "Orvanta 4.1",
                 kind == 3 ? MessageKind::warning : MessageKind::information);
}
