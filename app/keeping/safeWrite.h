#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

// Why a file could not be written whole.
enum class WriteTrouble {
    None,
    Folder,       // the name is a folder's
    NoFolder,     // the folder it would go in does not exist
    NotAFile,     // the name is a device, a pipe or a socket: never replaced by a file
    ReadOnlyFile, // the file is there and may not be written
    NoPermission, // the folder may not be written
    Full,         // no room left on the disk
    Other,
};

// Writes `bytes` to `path` whole or not at all: into a new file beside it that replaces it
// only once every byte is on the disk, so that a write that fails leaves an older file as it
// was, and no half-written file ever exists. `path` is kept as the bytes the system gave
// (PictureFile.h): a name that is not UTF-8 is written back to itself. A link is written
// through to the file it names; a file replaced keeps its permissions. Only a regular file is
// ever replaced. Safe on any thread.
WriteTrouble writeWholeFile(const QString &path, const QByteArray &bytes);

// Why not, in the user's words (`japanese`: in Japanese, else in English), with `shownName`
// for the file; `older`: a file of that name was there and is left as it was.
QString writeTroubleText(WriteTrouble trouble, const QString &shownName, bool older, bool japanese = true);

// writeWholeFile, and nothing when written, else the message for the user.
std::optional<QString> writeWhole(const QString &path, const QByteArray &bytes, const QString &shownName);

// What is at `path` now: nothing, a regular file, a folder, or something else (a device, a
// pipe, a socket), a link followed to what it names.
enum class PathKind { Nothing, File, Folder, Other };
PathKind pathKind(const QString &path);

// The bytes of a file the program keeps in its own folders (a recovery copy, the last
// picture), read as untrusted input: a regular file only, never through a link, never
// waiting on a pipe or a device, and at most `most` bytes. Nothing when it is not such a file
// or is larger; `present` tells whether anything was there at all.
std::optional<QByteArray> readOwnFile(const QString &path, qint64 most, bool *present = nullptr);
