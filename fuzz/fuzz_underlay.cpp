// Arbitrary bytes as an underlay picture, and as a pasted text: decoded, put in the holder,
// placed on the canvas as loaded and fitted, drawn; read as the text of a picture.
#include "convert/underlay.h"
#include "frmMain.h"
#include "result/textReading.h"
#include "sizeEntry.h"
#include "toolkit/PictureBox.h"
#include "pictures/PictureLoader.h"

#include <QApplication>
#include <QPushButton>

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    static int argc = 1;
    static char name[] = "fuzz_underlay";
    static char *argv[] = {name, nullptr};
    static QApplication *app = [] {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        return new QApplication(argc, argv);
    }();
    static frmMain *w = [] {
        auto *main = new frmMain;
        main->chkTrace->setChecked(true);
        return main;
    }();
    (void)app;
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    const QSize largest(kLargestCanvas, kLargestCanvas);

    QImage picture = LoadPictureData(bytes, largest).image;
    if (!picture.isNull()) {
        if (picture.width() > kLargestCanvas || picture.height() > kLargestCanvas)
            __builtin_trap(); // the loader promised never to keep more than can be shown
        w->picTrace->setPicture(std::move(picture));
    }
    w->Draw();
    w->DotDraw(2, 30, 30);

    // Opened lazily, and placed as the canvas asks: small first, then large.
    Underlay underlay;
    underlay.take(OpenPictureData(bytes, largest));
    for (Placement p : {Placement::Fitted, Placement::Filled, Placement::AsLoaded}) {
        underlay.setPlacement(p);
        for (QSize canvas : {QSize(96, 60), QSize(576, 576)}) {
            const QImage &holder = underlay.holderImage(canvas, 12);
            if (p != Placement::AsLoaded && underlay.hasWhole() && !holder.isNull() && holder.size() != canvas)
                __builtin_trap(); // a placed underlay is exactly the canvas
        }
    }

    const ReadText read = readDotText(QString::fromUtf8(bytes.left(1 << 16)), builtInPairs(), kLargestSide);
    if (read.outcome == ReadText::Picture
        && (read.dots.width() > kLargestSide || read.dots.height() > kLargestSide || read.dots.isNull()))
        __builtin_trap();
    return 0;
}
