#pragma once

#include <QImage>
#include <QSize>

#include <vector>

// The brightness of every dot of a `dots` picture over `samples`, an image of `dots`
// cells of `cell` x `cell` pixels each: the average of the cell's pixels, 0 (black) to 255
// (white), by the luma weights of television (Rec. 601). Row by row, dot (x, y) at
// [y * width + x].
std::vector<quint8> cellAverages(const QImage &samples, QSize dots, int cell);
