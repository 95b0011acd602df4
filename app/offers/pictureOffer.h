#pragma once

#include "pictures/PictureLoader.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

class OfferSource;

// What a paste or a drop offers, decided from its list of types alone: text, a picture's
// bytes (BMP, JPEG, GIF or PNG), files, or a picture this process made. Nothing else is
// asked of the other program to decide it.
bool offersSomething(const QStringList &types);

// What taking an offer gave.
struct TakenOffer
{
    enum Kind {
        Nothing,  // nothing the program takes: left alone, nothing said
        TextUsed, // text that `useText` took
        Picture,  // the picture `request` reads, from `name`
        Message,  // `message` says why nothing was taken
    };
    Kind kind = Nothing;
    QString name;
    PictureRequest request;
    QString message;
    // The local file the picture is, when it came as one.
    QString path;
    // Text was offered and `useText` left it: it was no picture's text.
    bool textLeft = false;
};

// Text pasted into a text box: the text offered (empty when the offer held none), or nothing
// and `message` saying why it could not be had.
struct PastedText
{
    std::optional<QString> text;
    QString message;
};
PastedText takeText(OfferSource &source, const QString &owner);

// Takes what `source` offers, asking it for at most one type at a time: text first, which
// `useText` takes or leaves (true: taken); then a picture's bytes; then the first local file
// of a list of files. `owner` names where it came from (the clipboard, a drag) in messages,
// `unnamed` the pictures that came as bytes; `shown` is what the loader keeps of them. A
// picture is not read here: the request says how, for the caller to read it when it will.
TakenOffer takeOffer(OfferSource &source, QSize shown, const QString &owner, const QString &unnamed,
                     const std::function<bool(const QString &text)> &useText);
