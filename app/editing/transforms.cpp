#include "transforms.h"

#include "dotImage.h"

namespace {

// A picture of `size` whose dot (x, y) is the source's dot `from(x, y)`, colour and all.
template<typename From>
QImage remapped(const QImage &picture, QSize size, From from)
{
    QImage out = dots::white(size);
    for (int y = 0; y < size.height(); ++y)
        for (int x = 0; x < size.width(); ++x) {
            const QPoint p = from(x, y);
            dots::put(out, x, y, dots::at(picture, p.x(), p.y()));
        }
    return out;
}

int wrapped(int v, int n) { return n == 0 ? 0 : ((v % n) + n) % n; }

} // namespace

namespace transforms {

QImage inverted(const QImage &picture)
{
    QImage out = dots::white(picture.size());
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x) {
            const QRgb p = dots::at(picture, x, y);
            // The colours of a colour picture stay; black and every other dot swap.
            const int square = dots::squareOf(p);
            if (square > 1)
                dots::put(out, x, y, p);
            else
                dots::set(out, x, y, !dots::isBlack(p));
        }
    return out;
}

QImage flippedLeftRight(const QImage &picture)
{
    const int w = picture.width();
    return remapped(picture, picture.size(), [w](int x, int y) { return QPoint(w - 1 - x, y); });
}

QImage flippedTopBottom(const QImage &picture)
{
    const int h = picture.height();
    return remapped(picture, picture.size(), [h](int x, int y) { return QPoint(x, h - 1 - y); });
}

QImage shifted(const QImage &picture, int dx, int dy)
{
    const int w = picture.width(), h = picture.height();
    return remapped(picture, picture.size(),
                    [=](int x, int y) { return QPoint(wrapped(x - dx, w), wrapped(y - dy, h)); });
}

QImage turnedClockwise(const QImage &picture)
{
    // Dot (x, y) of the turned picture was at (y, H - 1 - x): the left column becomes the top row.
    const int h = picture.height();
    return remapped(picture, picture.size().transposed(), [h](int x, int y) { return QPoint(y, h - 1 - x); });
}

QImage turnedAnticlockwise(const QImage &picture)
{
    const int w = picture.width();
    return remapped(picture, picture.size().transposed(), [w](int x, int y) { return QPoint(w - 1 - y, x); });
}

} // namespace transforms
