#pragma once

#include <QtGlobal>

#include <atomic>

// What reading one picture did, counted by the readers as they go, and whether the reader is
// to stop. A reader may run on a thread of its own while the window reads these counts (to
// show how far it got) or asks it to stop, so every count is atomic.
//
// The counts are the work itself, which no load on the machine changes: the rows and pixels
// a decoder produced (rows skipped on the way to a part count too, since a decoder works
// through them), the bytes taken out of the file, and the most memory the budget let the
// reading plan for.
class DecodeWork
{
public:
    // `rows` rows of `width` pixels decoded.
    void addRows(qint64 rows, qint64 width)
    {
        rows_ += rows;
        pixels_ += rows * width;
    }
    // A decoder that works on whole pictures (Qt's readers) decoded `pixels` at once.
    void addPixels(qint64 pixels) { pixels_ += pixels; }
    void addBytesRead(qint64 bytes) { bytesRead_ += bytes; }
    // The reading was allowed to plan this much memory.
    void planned(qint64 bytes)
    {
        qint64 was = plannedBytes_.load();
        while (bytes > was && !plannedBytes_.compare_exchange_weak(was, bytes)) {
        }
    }
    // The file ended before its picture did: what was decoded is shown, the rest left blank.
    void endedEarly() { endedEarly_ = true; }
    bool cutShort() const { return endedEarly_; }
    // How many rows all of it is, for a progress indication.
    void expectRows(qint64 rows) { expectedRows_ = rows; }

    qint64 rows() const { return rows_; }
    qint64 pixels() const { return pixels_; }
    qint64 bytesRead() const { return bytesRead_; }
    qint64 plannedBytes() const { return plannedBytes_; }
    qint64 expectedRows() const { return expectedRows_; }

    // Asked from any thread; a reader looks at it between rows and gives up.
    void cancel() { cancelled_ = true; }
    bool cancelled() const { return cancelled_; }

private:
    std::atomic<qint64> rows_{0};
    std::atomic<qint64> pixels_{0};
    std::atomic<qint64> bytesRead_{0};
    std::atomic<qint64> plannedBytes_{0};
    std::atomic<qint64> expectedRows_{0};
    std::atomic<bool> cancelled_{false};
    std::atomic<bool> endedEarly_{false};
};
