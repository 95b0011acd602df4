// Arbitrary bytes as an underlay picture: decoded, put in the holder, drawn under the canvas.
#include "frmMain.h"
#include "sizeEntry.h"
#include "toolkit/PictureBox.h"
#include "toolkit/PictureLoader.h"

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

    QImage picture = LoadPictureData(
        QByteArray(reinterpret_cast<const char *>(data), qsizetype(size)),
        QSize(kLargestCanvas, kLargestCanvas)).image;
    if (!picture.isNull()) {
        if (picture.width() > kLargestCanvas || picture.height() > kLargestCanvas)
            __builtin_trap(); // the loader promised never to keep more than can be shown
        w->picTrace->setPicture(std::move(picture));
    }
    w->Draw();
    w->DotDraw(2, 30, 30);
    return 0;
}
