#pragma once

#include <QImage>

#include <vector>

// Shrinks a picture that arrives one row at a time by a whole factor: each factor x factor
// block of pixels becomes their average (blocks at the right and bottom edges average the
// pixels they have), laid over white. Only one row of sums is held, however tall the
// picture: a reader can reduce a picture far larger than it could keep.
class RowReducer
{
public:
    RowReducer(int width, int factor);

    // One row of `width` pixels, 8-bit red, green, blue and alpha each.
    void addRgbaRow(const unsigned char *row);
    // The reduced picture, once every row was added.
    QImage finish();

private:
    void emitRow();

    int width_;
    int factor_;
    int rowsInBlock_ = 0;
    std::vector<quint32> sums_; // red, green, blue per reduced column
    std::vector<QRgb> out_;
    int outRows_ = 0;
};
