#include "frmPalette.h"

#include "dotImage.h"

#include <QCoreApplication>
#include <QGridLayout>
#include <QKeyEvent>
#include <QPushButton>

frmPalette::frmPalette(QWidget *owner) : QWidget(owner, Qt::Tool)
{
    setWindowTitle(QCoreApplication::translate("frmPalette", "色"));
    auto *grid = new QGridLayout(this);
    grid->setSpacing(4);
    for (int i = 0; i < 9; ++i) {
        const dots::Square &square = dots::kSquares[size_t(i)];
        auto *b = new QPushButton(QString::number(i + 1), this);
        b->setCheckable(true);
        b->setAutoExclusive(true);
        b->setFocusPolicy(Qt::NoFocus);
        b->setFixedSize(40, 40);
        const QColor colour = QColor::fromRgb(square.pixel);
        // The key's digit in black or white, whichever reads on the square.
        const QString ink = colour.lightnessF() > 0.55 ? QStringLiteral("black") : QStringLiteral("white");
        b->setStyleSheet(QStringLiteral("QPushButton { background: %1; color: %2; border: 1px solid #808080; font-weight: bold; }"
                                        // The chosen one framed in its digit's ink, which shows on every square.
                                        "QPushButton:checked { border: 4px solid %2; }")
                             .arg(colour.name(), ink));
        const QString name = QCoreApplication::translate("commands", square.name);
        b->setToolTip(QCoreApplication::translate("frmPalette", "%1（%2）").arg(name).arg(i + 1));
        b->setAccessibleName(name);
        connect(b, &QPushButton::clicked, this, [this, i] {
            choose(i);
            emit squareChosen(i);
        });
        grid->addWidget(b, i / 3, i % 3);
        cmdSquare[size_t(i)] = b;
    }
    choose(0);
}

void frmPalette::choose(int square)
{
    chosen_ = std::clamp(square, 0, 8);
    cmdSquare[size_t(chosen_)]->setChecked(true);
}

void frmPalette::keyPressEvent(QKeyEvent *event)
{
    const int key = event->key();
    if (event->modifiers() == Qt::NoModifier && key >= Qt::Key_1 && key <= Qt::Key_9) {
        choose(key - Qt::Key_1);
        emit squareChosen(key - Qt::Key_1);
        return;
    }
    QWidget::keyPressEvent(event);
}
