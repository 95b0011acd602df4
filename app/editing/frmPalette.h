#pragma once

#include <QWidget>

#include <array>

class QPushButton;

// The nine emoji squares of a colour picture, beside the main window: a click on one, or its
// key 1 to 9, chooses the colour the left button paints.
class frmPalette : public QWidget
{
    Q_OBJECT

public:
    explicit frmPalette(QWidget *owner);

    std::array<QPushButton *, 9> cmdSquare{};
    // Shows `square` (0 to 8) as the one chosen.
    void choose(int square);
    int chosen() const { return chosen_; }

signals:
    void squareChosen(int square);

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    int chosen_ = 0;
};
