#include "gui_fixture.h"

#include <QApplication>
#include <QDir>

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

// The application lives from the first test to the end of the run, and is deleted before Qt's
// own globals go away (and with it the font configuration it loaded).
class ApplicationEnvironment final : public ::testing::Environment {
  public:
    void TearDown() override { delete QApplication::instance(); }
};

[[maybe_unused]] ::testing::Environment *const environment =
    ::testing::AddGlobalTestEnvironment(new ApplicationEnvironment);

} // namespace

void ensure_application() {
    if (QApplication::instance()) return;
    if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    static int argc = 1;
    static char name[] = "orvantaiv_gui_tests";
    static char *argv[] = {name, nullptr};
    new QApplication(argc, argv); // deleted by the environment
}

MessageRecorder::MessageRecorder() {
    set_message_function([this](QWidget *, const QString &text, const QString &title, MessageKind kind) {
        messages.push_back({text, title, kind});
    });
}

MessageRecorder::~MessageRecorder() {
    set_message_function({});
}

QString example_review(const char *name) {
    return QString(SOURCE_DIR) + "/examples/orvantaiv/" + name;
}

QString test_review(const char *name) {
    return QString(SOURCE_DIR) + "/viewer/gui/tests/data/" + name;
}

std::unique_ptr<OutcomeModel> load(const QString &path) {
    auto model = std::make_unique<OutcomeModel>();
    char buffer[LOAD_BUFFER_SIZE];
    EXPECT_EQ(CreateListView(*model, path.toLocal8Bit().constData(), buffer), 1) << buffer;
    return model;
}

QString artifact_folder() {
    const char *build = std::getenv("TOOLKIT_BUILD");
    QString folder = (build ? QString(build) : QDir::tempPath()) + "/test-artifacts/orvantaiv";
    QDir().mkpath(folder);
    return folder;
}
