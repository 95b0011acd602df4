// Linked into every test program: Qt's test mode sends whatever the dialogs and settings
// write to ~/.qttest, never into the user's own configuration; and a message box that no
// test expects fails the test that showed it at once, instead of waiting for an OK that
// never comes.
#include "support.h"

#include <QStandardPaths>

namespace {
const bool testMode = (QStandardPaths::setTestModeEnabled(true), setMsgBoxHook(failOnMessageBox),
                       setMsgBoxAskHook(failOnQuestion), true);
}
