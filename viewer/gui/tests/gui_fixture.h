// What the program's tests share: a QApplication on the offscreen platform, the messages the
// program shows (recorded instead of shown), and the reviews they open.
#pragma once

#include "message_box.h"
#include "outcome_model.h"

#include <QString>

#include <memory>
#include <string>
#include <vector>

// Creates the application once (offscreen unless QT_QPA_PLATFORM says otherwise).
void ensure_application();

struct RecordedMessage {
    QString text, title;
    MessageKind kind;
};

// Records every message box while it lives.
class MessageRecorder {
  public:
    MessageRecorder();
    ~MessageRecorder();
    std::vector<RecordedMessage> messages;
};

// A review in the source tree: "examples/orvantaiv/bcg.ORV" or a file of tests/data.
QString example_review(const char *name);
QString test_review(const char *name);

// A loaded review's rows.
std::unique_ptr<OutcomeModel> load(const QString &path);

// Where tests leave files for people to look at: $TOOLKIT_BUILD/test-artifacts/orvantaiv (under
// the temporary folder when the tests run outside ctest).
QString artifact_folder();
