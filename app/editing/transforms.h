#pragma once

#include <QImage>

// Changes of a dot picture, each a pure function of it (dotImage.h): every dot keeps its
// colour wherever it goes, and the result has the same size unless said otherwise.
namespace transforms {

// Black dots become white and every other dot black (the background counts as white); the
// colours of a colour picture other than black and white stay as they are.
QImage inverted(const QImage &picture);
QImage flippedLeftRight(const QImage &picture);
QImage flippedTopBottom(const QImage &picture);
// Every dot moved by (dx, dy); what leaves one edge comes back at the other.
QImage shifted(const QImage &picture, int dx, int dy);
// Turned a quarter; a W x H picture becomes H x W.
QImage turnedClockwise(const QImage &picture);
QImage turnedAnticlockwise(const QImage &picture);

} // namespace transforms
