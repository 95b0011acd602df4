#include "cellAverages.h"

std::vector<quint8> cellAverages(const QImage &samples, QSize dots, int cell)
{
    const int w = dots.width(), h = dots.height();
    std::vector<quint8> out(size_t(std::max(w, 0)) * size_t(std::max(h, 0)), 255);
    if (samples.isNull() || cell <= 0)
        return out;
    const QImage image = samples.format() == QImage::Format_RGB32 || samples.format() == QImage::Format_ARGB32
                             ? samples
                             : samples.convertToFormat(QImage::Format_RGB32);
    // Sums of luma times 1000, per dot of the current row of cells.
    std::vector<quint64> sums(size_t(std::max(w, 0)));
    for (int y = 0; y < h; ++y) {
        std::fill(sums.begin(), sums.end(), 0);
        int rows = 0;
        for (int sy = y * cell; sy < (y + 1) * cell && sy < image.height(); ++sy, ++rows) {
            const auto *line = reinterpret_cast<const QRgb *>(image.constScanLine(sy));
            for (int x = 0; x < w; ++x) {
                quint64 s = 0;
                const int end = std::min((x + 1) * cell, image.width());
                for (int sx = x * cell; sx < end; ++sx)
                    s += quint64(299 * qRed(line[sx]) + 587 * qGreen(line[sx]) + 114 * qBlue(line[sx]));
                sums[size_t(x)] += s;
            }
        }
        for (int x = 0; x < w; ++x) {
            const int columns = std::max(0, std::min((x + 1) * cell, image.width()) - x * cell);
            const quint64 n = quint64(columns) * quint64(rows) * 1000;
            if (n > 0)
                out[size_t(y) * size_t(w) + size_t(x)] = quint8((sums[size_t(x)] + n / 2) / n);
        }
    }
    return out;
}
