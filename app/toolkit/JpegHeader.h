#pragma once

#include <QtGlobal>

#include <optional>

class QIODevice;

// What decoding the JPEG on `device` costs libjpeg, from its header.
struct JpegCost
{
    // A single-scan (baseline or sequential) file is decoded a few rows at a time: 0. A
    // progressive or multi-scan one keeps every coefficient of the whole picture until the
    // last scan has arrived, whatever part of it is kept afterwards.
    qint64 bufferedBytes = 0;
    // How many scans the file holds; each pass over the buffer costs as much again.
    int scans = 1;
};

// Nothing when the header cannot be read. The file is read from the device's start, and
// the device is left where it was.
std::optional<JpegCost> jpegCost(QIODevice *device);
