#pragma once

#include <QColor>

// How far apart two colours are to the eye, as WCAG 2 measures it: (L1 + 0.05) / (L2 + 0.05)
// of their relative luminances, from 1 (the same) to 21 (black on white). Text and marks need
// 4.5 against what they are drawn on to be read by everyone.
double contrastRatio(const QColor &a, const QColor &b);

// `colour`, its hue and saturation kept, made just as much darker (on a light background)
// or lighter (on a dark one) as it takes to reach `ratio` against `background`.
QColor readableOn(const QColor &colour, const QColor &background, double ratio = 4.5);
