// Linked into every test program: Qt's test mode sends whatever the dialogs, settings and
// recovery copies write to ~/.qttest, never into the user's own folders; a message box or a
// question that no test expects fails the test that showed it at once, instead of waiting
// for an answer that never comes; and each test program starts without the recovery copies
// and the settings an earlier run of it may have left, so that every window starts as
// described.
#include "support.h"

#include "keeping/recovery.h"

#include <QCoreApplication>
#include <QDir>
#include <QStandardPaths>

namespace {

const bool testMode = (QStandardPaths::setTestModeEnabled(true), setMsgBoxHook(failOnMessageBox),
                       setMsgBoxAskHook(failOnQuestion), true);

void startWithoutCopies()
{
    QDir(recoveryFolder()).removeRecursively();
    forgetSettings();
}

} // namespace

Q_COREAPP_STARTUP_FUNCTION(startWithoutCopies)
