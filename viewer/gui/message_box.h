// Message boxes of the program. Every box goes through one replaceable function, so that tests can
// record the boxes instead of waiting for a click. With the offscreen platform, where nobody could
// see or close a box, the default function writes the message to standard error instead.
#pragma once

#include <QString>

#include <functional>

class QWidget;

enum class MessageKind { information, warning, error };

using MessageFunction =
    std::function<void(QWidget *parent, const QString &text, const QString &title, MessageKind kind)>;

// Replaces the function that shows boxes; an empty function restores the default.
void set_message_function(MessageFunction function);

void show_message(QWidget *parent, const QString &text, const QString &title, MessageKind kind);

// The loading library's message: text is Windows-1252; kind 3 is a warning titled "Orvanta 4.1".
void Custom_Message(QWidget *window, const char *text, int kind);
