#pragma once

#include "toolkit/PictureLoader.h"

#include <QString>

#include <optional>

class QMimeData;

// What a drop or a paste offers as an underlay: a file (the first local one of a list of
// file names, as file managers give them) or image data (as browsers and image programs
// give them).
bool offersPicture(const QMimeData *data);

struct OfferedPicture
{
    QString name; // the file's path, or `unnamed` for image data
    LoadedPicture picture;
};

// Loads what `data` offers with the same loader and limits as a file chosen in the
// dialog. Nothing when it offers no picture at all: text and the like are left alone.
std::optional<OfferedPicture> loadOfferedPicture(const QMimeData *data, QSize shown,
                                                 const QString &unnamed);
