#pragma once

#include <QString>

class QWidget;

// The open-file dialog's filters: picture files first, then every file; each piece of
// text is ended by a NUL.
QString pictureFileFilter();

// Asks for an existing file in the modal open-file dialog. `filter` holds
// description/pattern pairs, every piece ended by a NUL; the first pair is selected and
// the dialog starts in `initialDir`. Returns the chosen file's full path, or "" when the
// user cancelled.
QString ShowOpenDialog(QWidget *hwndOwner, const QString &filter, const QString &initialDir);
