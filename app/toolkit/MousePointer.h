#pragma once

class QWidget;

constexpr int vbDefault = 0;
constexpr int vbHourglass = 11;

// Sets the pointer shown over `widget`: 0 the default, 11 the hourglass.
void setMousePointer(QWidget *widget, int pointer);
