#pragma once

#include "pictures/PictureLoader.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

class OfferSource;
class QWidget;

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

// What the window does with what an offer gave: `owner` names where it came from in the
// messages told over `window`. A picture this program saved, offered as a file, is opened as
// the picture (`openPicture`); any other picture goes to `underlay`; text that is no
// picture's text, and nothing else with it, is said to be none.
struct OfferTakers
{
    QWidget *window = nullptr;
    std::function<bool(const QString &text)> useText;
    std::function<bool(const QString &path)> isOwnPicture;
    std::function<void(const QString &path)> openPicture;
    std::function<void(const PictureRequest &request, const QString &name)> underlay;
};
void takeOfferInto(OfferSource &source, QSize shown, const QString &owner, const QString &unnamed, const OfferTakers &takers);
