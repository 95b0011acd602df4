#pragma once

#include "pictures/PictureLoader.h"

#include <QFont>
#include <QObject>
#include <QPointer>
#include <QRect>

#include <functional>
#include <memory>
#include <optional>

class PictureJob;
class QFrame;
class QProgressBar;
class QShortcut;
class QTimer;
class QWidget;

// Reading a picture for the underlay without making the window wait. A small picture is read
// at once, within the command that gave it; a larger one on a worker thread, while the window
// goes on answering: the canvas shows the busy pointer and, past half a second, a small panel
// says how far the reading got, with 中止 (and Escape) to stop it. A new picture stops the one
// being read; so does the window going away.
class UnderlayLoading : public QObject
{
    Q_OBJECT

public:
    // `canvas` shows the busy pointer; the panel lies on `window` at `panelArea`.
    UnderlayLoading(QWidget *window, QWidget *canvas, QRect panelArea);
    ~UnderlayLoading() override;

    // What the picture read becomes: `done` gets it on the window's thread, at once for a
    // quick request, else when the worker ends; null when the user stopped the reading. A
    // reading that a newer one replaced calls nothing.
    using Done = std::function<void(const std::shared_ptr<PictureSource> &picture)>;
    void load(const PictureRequest &request, Done done);
    // The user stops the reading under way: the underlay stays as it was.
    void cancel();

    bool busy() const { return job_ != nullptr; }
    // What the last reading did, counted: the rows and pixels decoded, the bytes read.
    std::shared_ptr<DecodeWork> lastWork() const { return lastWork_; }
    QFrame *panel() const { return panel_; }
    // The panel's font: the control panel's, whose place it takes.
    void setPanelFont(const QFont &font) { panelFont_ = font; }

signals:
    // A reading on a worker began or ended.
    void busyChanged();

private:
    void finish(const std::shared_ptr<PictureSource> &picture);
    void showPanel();
    void showProgress();
    void stopJob();

    QWidget *window_;
    QPointer<QWidget> canvas_;
    QRect panelArea_;
    PictureJob *job_ = nullptr;
    Done done_;
    std::shared_ptr<DecodeWork> lastWork_;
    QFrame *panel_ = nullptr;
    QProgressBar *bar_ = nullptr;
    QTimer *delay_ = nullptr;
    QTimer *progress_ = nullptr;
    QShortcut *escape_ = nullptr;
    std::optional<QFont> panelFont_;
};
