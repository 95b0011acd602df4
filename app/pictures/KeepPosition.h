#pragma once

#include <QIODevice>

// Puts a device back where it was, however a reading ends: the readers that look at a
// file's header leave it for the next one to read from its start.
class KeepPosition
{
public:
    explicit KeepPosition(QIODevice *device) : device_(device), at_(device->pos()) {}
    ~KeepPosition() { device_->seek(at_); }
    KeepPosition(const KeepPosition &) = delete;
    KeepPosition &operator=(const KeepPosition &) = delete;

private:
    QIODevice *device_;
    qint64 at_;
};
