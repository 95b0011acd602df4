#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

// Writes `bytes` to `path` whole or not at all: into a file beside it that replaces it only
// once every byte is on the disk (QSaveFile), so that a write that fails (a folder that may
// not be written, a full disk, a name that is a folder) leaves an older file as it was, and
// no half-written file ever exists. Returns nothing when written, else why not, in the
// user's words, with `shownName` for the file.
std::optional<QString> writeWhole(const QString &path, const QByteArray &bytes, const QString &shownName);
