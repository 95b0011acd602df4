// Linked into every test program: Qt's test mode sends whatever the dialogs and settings
// write to ~/.qttest, never into the user's own configuration.
#include <QStandardPaths>

namespace {
const bool testMode = (QStandardPaths::setTestModeEnabled(true), true);
}
