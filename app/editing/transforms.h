#pragma once

#include <QImage>

// Changes of the whole dot picture, each a pure function of it (dotImage.h): the result has
// every dot black or white, and the same size unless said otherwise.
namespace transforms {

// Black dots become white and every other dot black: the background counts as white.
QImage inverted(const QImage &picture);
QImage flippedLeftRight(const QImage &picture);
QImage flippedTopBottom(const QImage &picture);
// Every dot moved by (dx, dy); what leaves one edge comes back at the other.
QImage shifted(const QImage &picture, int dx, int dy);
// Turned a quarter; a W x H picture becomes H x W.
QImage turnedClockwise(const QImage &picture);
QImage turnedAnticlockwise(const QImage &picture);

} // namespace transforms
