#include "underlayLoading.h"

#include "pictures/PictureJob.h"

#include <QCoreApplication>
#include <QFrame>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QShortcut>
#include <QTimer>
#include <QVBoxLayout>

namespace {
// A reading shorter than this needs no more than the busy pointer.
constexpr int kPanelDelayMs = 500;
constexpr int kProgressEveryMs = 100;
} // namespace

UnderlayLoading::UnderlayLoading(QWidget *window, QWidget *canvas, QRect panelArea)
    : QObject(window), window_(window), canvas_(canvas), panelArea_(panelArea)
{
    delay_ = new QTimer(this);
    delay_->setSingleShot(true);
    delay_->setInterval(kPanelDelayMs);
    connect(delay_, &QTimer::timeout, this, &UnderlayLoading::showPanel);
    progress_ = new QTimer(this);
    progress_->setInterval(kProgressEveryMs);
    connect(progress_, &QTimer::timeout, this, &UnderlayLoading::showProgress);
    escape_ = new QShortcut(QKeySequence(Qt::Key_Escape), window);
    escape_->setContext(Qt::WindowShortcut);
    escape_->setEnabled(false);
    connect(escape_, &QShortcut::activated, this, &UnderlayLoading::cancel);
}

UnderlayLoading::~UnderlayLoading()
{
    // The window is going: what is being read is of no use any more.
    done_ = nullptr;
    delete job_;
}

void UnderlayLoading::load(const PictureRequest &request, Done done)
{
    stopJob();
    if (request.quick) {
        lastWork_ = std::make_shared<DecodeWork>();
        done(request.open(lastWork_));
        return;
    }
    done_ = std::move(done);
    job_ = new PictureJob(request, this);
    lastWork_ = job_->sharedWork();
    connect(job_, &PictureJob::finished, this, &UnderlayLoading::finish);
    escape_->setEnabled(true);
    if (canvas_)
        canvas_->setCursor(Qt::BusyCursor);
    delay_->start();
    emit busyChanged();
}

void UnderlayLoading::cancel()
{
    if (!job_)
        return;
    Done done = std::move(done_);
    stopJob();
    if (done)
        done(nullptr);
}

void UnderlayLoading::finish(const std::shared_ptr<PictureSource> &picture)
{
    Done done = std::move(done_);
    // The job, ended, goes once its signal has returned.
    stopJob();
    if (done)
        done(picture);
}

void UnderlayLoading::stopJob()
{
    done_ = nullptr;
    const bool wasBusy = job_ != nullptr;
    if (job_) {
        job_->disconnect(this);
        job_->cancel();
        // Deleted once the worker notices, without waiting for it here.
        PictureJob *job = job_;
        job_ = nullptr;
        if (job->running())
            connect(job, &PictureJob::finished, job, &QObject::deleteLater);
        else
            job->deleteLater();
    }
    delay_->stop();
    progress_->stop();
    escape_->setEnabled(false);
    if (panel_)
        panel_->hide();
    if (canvas_)
        canvas_->unsetCursor();
    if (wasBusy)
        emit busyChanged();
}

void UnderlayLoading::showPanel()
{
    if (!job_)
        return;
    if (!panel_) {
        panel_ = new QFrame(window_);
        if (panelFont_)
            panel_->setFont(*panelFont_);
        panel_->setFrameShape(QFrame::StyledPanel);
        panel_->setAutoFillBackground(true);
        panel_->setObjectName(QStringLiteral("underlayLoading"));
        auto *label = new QLabel(QCoreApplication::translate("underlayLoading", "読み込み中"), panel_);
        label->setAlignment(Qt::AlignCenter);
        bar_ = new QProgressBar(panel_);
        bar_->setRange(0, 1000);
        bar_->setTextVisible(false);
        bar_->setMaximumHeight(label->fontMetrics().height() / 2 + 4);
        bar_->setAccessibleName(QCoreApplication::translate("underlayLoading", "下絵の読み込み"));
        auto *stop = new QPushButton(QCoreApplication::translate("underlayLoading", "中止"), panel_);
        stop->setToolTip(QCoreApplication::translate("underlayLoading", "読み込みをやめます（Esc）。下絵は前のままです。"));
        connect(stop, &QPushButton::clicked, this, &UnderlayLoading::cancel);
        auto *layout = new QVBoxLayout(panel_);
        layout->setContentsMargins(3, 3, 3, 3);
        layout->setSpacing(3);
        layout->addWidget(label);
        layout->addWidget(bar_);
        layout->addWidget(stop);
        panel_->setGeometry(panelArea_);
    }
    showProgress();
    panel_->raise();
    panel_->show();
    progress_->start();
}

void UnderlayLoading::showProgress()
{
    if (!job_ || !bar_)
        return;
    const DecodeWork &work = job_->work();
    const qint64 expected = work.expectedRows();
    // Until a reader says how much there is, the bar only says that something happens.
    if (expected <= 0) {
        bar_->setRange(0, 0);
        return;
    }
    bar_->setRange(0, 1000);
    bar_->setValue(int(std::min<qint64>(1000, work.rows() * 1000 / expected)));
}
