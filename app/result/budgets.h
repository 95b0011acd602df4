#pragma once

#include "textPairs.h"

#include <QSize>
#include <QString>

#include <vector>

// How long a picture's text is where it is posted, counted as each service counts it, and
// whether it fits. The text is counted as a browser posts it: lines joined by a single line
// feed, nothing after the last.

// X (Twitter): 280, weighted as its published rules weigh (twitter-text, version 3): a code
// point in Latin, punctuation and a few symbol ranges counts 1, every other 2, and an emoji
// sequence (with its presentation selector, or joined) 2 in all.
int xWeightedLength(const QString &text);
// Bluesky: 300 grapheme clusters (and 3,000 bytes of UTF-8); Mastodon: 500.
int graphemeCount(const QString &text);
// Discord: 2,000 code points.
int codePointCount(const QString &text);
// LINE: 10,000 UTF-16 code units, as JavaScript's length counts (an emoji beyond the basic
// plane is two).
int utf16Length(const QString &text);
int utf8Length(const QString &text);

struct Budget
{
    QString service;
    int count = 0;
    int limit = 0;
    bool fits = false;
    QString note; // why it does not fit when the count alone does not say
};

// Every service's count for `text`, a picture `width` dots wide. LINE allows 10,000
// characters, but a phone's bubble wraps after about 12 wide characters a line.
std::vector<Budget> countBudgets(const QString &text, int width);

// The services countBudgets counts for, in its order.
enum Service { X, Bluesky, Mastodon, Discord, Line, ServiceCount };

// The largest picture of the aspect of `size` whose text, written as `options` say (a pair,
// braille, or the emoji squares of a colour picture; the line ends count as one, as posted),
// fits `service` whatever its dots are: the size, or an empty one when not even one dot does
// (nor when `size` is empty); no wider than `most`'s width nor taller than its height.
QSize largestFitting(QSize size, bool braille, const DotPair &pair, Service service, bool colour = false,
                     QSize most = QSize(99, 99));
