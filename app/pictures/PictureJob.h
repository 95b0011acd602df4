#pragma once

#include "PictureLoader.h"

#include <QFutureWatcher>
#include <QObject>

#include <functional>
#include <memory>

// One picture read on a worker thread, so that the window keeps answering however long it
// takes. The worker only opens, weighs and decodes (PictureRequest::open): it never touches a
// widget, and what it made is handed over on the thread that started it, through finished().
class PictureJob : public QObject
{
    Q_OBJECT

public:
    // Starts `open` on a worker thread at once.
    explicit PictureJob(const PictureRequest &request, QObject *parent = nullptr);
    // Stops the worker and waits for it: it gives up at its next row or scan.
    ~PictureJob() override;

    // Asks the worker to stop; finished() then gives nothing.
    void cancel();
    bool running() const { return watcher_.isRunning(); }
    const DecodeWork &work() const { return *work_; }
    std::shared_ptr<DecodeWork> sharedWork() const { return work_; }

signals:
    // On the thread that made the job: the picture read, or null when it was stopped.
    void finished(const std::shared_ptr<PictureSource> &picture);

private:
    std::shared_ptr<DecodeWork> work_;
    QFutureWatcher<std::shared_ptr<PictureSource>> watcher_;
};

// Tests hold a worker here before it reads anything, to see the window answer meanwhile;
// the hold must end when the work is cancelled. nullptr restores the normal course.
using DecodeHold = std::function<void(DecodeWork &work)>;
void setDecodeHold(DecodeHold hold);
