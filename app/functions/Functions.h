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

// The save dialog's types: a text of squares first, then a picture of one pixel a dot.
QString savedPictureFilter();
// The open dialog's types for a saved picture: texts and pictures, then every file.
QString openPictureFilter();

// Asks where to save in the modal save-file dialog (the open dialog's kind, in its saving
// form; an existing file is confirmed before it is replaced). `filter` as for
// ShowOpenDialog; the pair `filterIndex` (from 1) is selected, `suggested` is offered as the
// name and the dialog starts in `initialDir`. Returns the path typed or chosen, or "" when
// the user cancelled; `filterIndex` becomes the pair chosen.
QString ShowSaveDialog(QWidget *hwndOwner, const QString &filter, const QString &initialDir,
                       const QString &suggested, int &filterIndex);
