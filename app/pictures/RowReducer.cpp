#include "RowReducer.h"

#include <cstring>

RowReducer::RowReducer(int width, int factor)
    : width_(width), factor_(factor), sums_(size_t((width + factor - 1) / factor) * 3, 0)
{
}

void RowReducer::addRgbaRow(const unsigned char *row)
{
    quint32 *s = sums_.data();
    for (int x = 0, inBlock = 0; x < width_; ++x, row += 4) {
        const quint32 a = row[3];
        if (a == 255) {
            s[0] += row[0];
            s[1] += row[1];
            s[2] += row[2];
        } else {
            // Over white: a transparent pixel counts as white, as the canvas shows it.
            const quint32 white = 255 * (255 - a);
            s[0] += (row[0] * a + white) / 255;
            s[1] += (row[1] * a + white) / 255;
            s[2] += (row[2] * a + white) / 255;
        }
        if (++inBlock == factor_) {
            inBlock = 0;
            s += 3;
        }
    }
    if (++rowsInBlock_ == factor_)
        emitRow();
}

void RowReducer::emitRow()
{
    if (rowsInBlock_ == 0)
        return;
    const int columns = int(sums_.size() / 3);
    for (int c = 0; c < columns; ++c) {
        const quint32 count = quint32(std::min(factor_, width_ - c * factor_)) * quint32(rowsInBlock_);
        const quint32 *s = &sums_[size_t(c) * 3];
        out_.push_back(qRgb(int((s[0] + count / 2) / count), int((s[1] + count / 2) / count),
                            int((s[2] + count / 2) / count)));
    }
    std::fill(sums_.begin(), sums_.end(), 0);
    rowsInBlock_ = 0;
    ++outRows_;
}

QImage RowReducer::finish()
{
    emitRow();
    const int columns = int(sums_.size() / 3);
    QImage image(columns, outRows_, QImage::Format_RGB32);
    if (image.isNull())
        return image;
    for (int y = 0; y < outRows_; ++y)
        std::memcpy(image.scanLine(y), &out_[size_t(y) * size_t(columns)], size_t(columns) * 4);
    return image;
}
