#pragma once

#include <QByteArray>
#include <QSize>

class QIODevice;

enum class GifTrouble { None, Unreadable, TooMuchMetadata, FileTooLarge };

struct GifFirstFrame
{
    // The GIF's logical screen, which its frames are drawn onto.
    QSize screen;
    // A GIF file of the first frame alone: its header, colour tables and the one control
    // extension that says which colour is transparent. Comments, application data and
    // every later frame stay behind, unread.
    QByteArray file;
    GifTrouble trouble = GifTrouble::None;
};

// Reads the GIF at the start of `device` up to the end of its first frame; the device is
// left where it was.
GifFirstFrame gifFirstFrame(QIODevice *device);
