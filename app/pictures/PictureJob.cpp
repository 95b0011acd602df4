#include "PictureJob.h"

#include <QMutex>
#include <QtConcurrent/QtConcurrentRun>

namespace {

QMutex holdLock;
DecodeHold &hold()
{
    static DecodeHold h;
    return h;
}

} // namespace

void setDecodeHold(DecodeHold h)
{
    const QMutexLocker lock(&holdLock);
    hold() = std::move(h);
}

PictureJob::PictureJob(const PictureRequest &request, QObject *parent)
    : QObject(parent), work_(std::make_shared<DecodeWork>())
{
    connect(&watcher_, &QFutureWatcherBase::finished, this, [this] {
        std::shared_ptr<PictureSource> picture = watcher_.future().result();
        if (work_->cancelled())
            picture.reset();
        emit finished(picture);
    });
    const std::function<std::shared_ptr<PictureSource>(std::shared_ptr<DecodeWork>)> open = request.open;
    const std::shared_ptr<DecodeWork> work = work_;
    watcher_.setFuture(QtConcurrent::run([open, work] {
        DecodeHold held;
        {
            const QMutexLocker lock(&holdLock);
            held = hold();
        }
        if (held)
            held(*work);
        return open(work);
    }));
}

PictureJob::~PictureJob()
{
    // Nothing is handed over any more; the worker's own copy of what it reads keeps it safe
    // until it notices.
    watcher_.disconnect(this);
    work_->cancel();
    watcher_.waitForFinished();
}

void PictureJob::cancel() { work_->cancel(); }
