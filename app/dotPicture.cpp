#include "dotPicture.h"

#include "dotImage.h"

#include <algorithm>

DotPicture::DotPicture(QObject *parent) : QObject(parent), store_(dots::white(QSize(0, 0))) {}

QImage DotPicture::image() const
{
    if (store_.size() == size_)
        return store_;
    return store_.copy(QRect(QPoint(0, 0), size_));
}

QRgb DotPicture::dot(int x, int y) const
{
    if (x < 0 || y < 0 || x >= size_.width() || y >= size_.height())
        return dots::kWhitePixel;
    return dots::at(store_, x, y);
}

bool DotPicture::isBlack(int x, int y) const
{
    return x >= 0 && y >= 0 && x < size_.width() && y < size_.height() && dots::isBlack(store_, x, y);
}

bool DotPicture::hasDots() const
{
    for (int y = 0; y < size_.height(); ++y) {
        const auto *line = reinterpret_cast<const QRgb *>(store_.constScanLine(y));
        for (int x = 0; x < size_.width(); ++x)
            if (!dots::isWhite(line[x]))
                return true;
    }
    return false;
}

bool DotPicture::hasColour() const
{
    for (int y = 0; y < size_.height(); ++y) {
        const auto *line = reinterpret_cast<const QRgb *>(store_.constScanLine(y));
        for (int x = 0; x < size_.width(); ++x)
            if (!dots::isWhite(line[x]) && !dots::isBlack(line[x]))
                return true;
    }
    return false;
}

void DotPicture::setDot(QPoint p, QRgb colour)
{
    if (!contains(p))
        return;
    if (dots::at(store_, p.x(), p.y()) == (colour | 0xFF000000u)) {
        emit touched(p);
        return;
    }
    dots::put(store_, p.x(), p.y(), colour);
    emit changed(QRect(p, QSize(1, 1)));
}

void DotPicture::become(const QImage &dots)
{
    QRect differ;
    const int w = std::min(dots.width(), size_.width()), h = std::min(dots.height(), size_.height());
    for (int y = 0; y < h; ++y) {
        const auto *from = reinterpret_cast<const QRgb *>(dots.constScanLine(y));
        const auto *to = reinterpret_cast<const QRgb *>(store_.constScanLine(y));
        int first = -1, last = -1;
        for (int x = 0; x < w; ++x)
            if (((from[x] ^ to[x]) & 0xFFFFFFu) != 0) {
                if (first < 0)
                    first = x;
                last = x;
            }
        if (first < 0)
            continue;
        auto *line = reinterpret_cast<QRgb *>(store_.scanLine(y));
        for (int x = first; x <= last; ++x)
            line[x] = from[x] | 0xFF000000u;
        differ |= QRect(first, y, last - first + 1, 1);
    }
    if (!differ.isEmpty())
        emit changed(differ);
}

void DotPicture::grow(QSize size)
{
    // The store only grows: what a smaller size cut away stays in it.
    const QSize needed = store_.size().expandedTo(size);
    if (needed == store_.size())
        return;
    QImage grown = dots::white(needed);
    for (int y = 0; y < store_.height(); ++y)
        std::copy_n(reinterpret_cast<const QRgb *>(store_.constScanLine(y)), store_.width(),
                    reinterpret_cast<QRgb *>(grown.scanLine(y)));
    store_ = grown;
}

void DotPicture::resize(QSize size)
{
    size = size.expandedTo(QSize(0, 0));
    if (size == size_)
        return;
    grow(size);
    size_ = size;
    emit resized(size_);
    emit changed(QRect(QPoint(0, 0), size_));
}

void DotPicture::clear()
{
    store_.fill(dots::kWhitePixel);
    emit changed(QRect(QPoint(0, 0), size_));
}

void DotPicture::replace(const QImage &dots)
{
    restore(dots.convertToFormat(QImage::Format_RGB32), dots.size());
}

void DotPicture::restore(const QImage &store, QSize size)
{
    const bool resizing = size != size_;
    store_ = store.format() == QImage::Format_RGB32 ? store : store.convertToFormat(QImage::Format_RGB32);
    size_ = size.expandedTo(QSize(0, 0));
    grow(size_);
    if (resizing)
        emit resized(size_);
    emit changed(QRect(QPoint(0, 0), size_));
}

QImage dotTextPicture(const DotPicture &picture, QSize size)
{
    QImage out = dots::white(size);
    const int w = std::min(size.width(), picture.width()), h = std::min(size.height(), picture.height());
    for (int y = 0; y < h; ++y)
        std::copy_n(reinterpret_cast<const QRgb *>(picture.store().constScanLine(y)), w,
                    reinterpret_cast<QRgb *>(out.scanLine(y)));
    return out;
}
