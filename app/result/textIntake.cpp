#include "textIntake.h"

#include "dotImage.h"
#include "frmPost.h"
#include "sizeEntry.h"
#include "textReading.h"
#include "toolkit/MsgBox.h"

#include <QCoreApplication>

namespace {

QImage swapped(const QImage &picture)
{
    QImage out = picture;
    for (int y = 0; y < out.height(); ++y)
        for (int x = 0; x < out.width(); ++x)
            if (dots::isBlack(out, x, y) || dots::isWhite(dots::at(out, x, y)))
                dots::set(out, x, y, !dots::isBlack(out, x, y));
    return out;
}

} // namespace

TakenText takePictureText(QWidget *parent, const QString &text, bool opened, const frmPost *post)
{
    std::vector<DotPair> pairs;
    if (post && post->typedPair())
        pairs.push_back(*post->typedPair());
    for (const DotPair &p : builtInPairs())
        pairs.push_back(p);
    TextIntake read = readPictureText(text, pairs, kLargestSide, opened);
    if (read.kind == TextIntake::Ask) {
        const QString a = characterShown(read.first), b = characterShown(read.second);
        const int answer = MsgBoxAsk(parent, whichIsBlackQuestion(read, opened),
                                     {QCoreApplication::translate("takePictureText", "「%1」を黒").arg(a), QCoreApplication::translate("takePictureText", "「%1」を黒").arg(b), QCoreApplication::translate("takePictureText", "キャンセル")}, 0);
        if (answer == 2)
            return {TakenText::Refused, {}, false};
        read = readAnswered(text, read, answer == 0, kLargestSide, opened);
    }
    if (read.kind == TextIntake::NotDotText)
        return {TakenText::NotDotText, {}, false};
    if (read.kind != TextIntake::Picture) {
        MsgBox(parent, read.message);
        return {TakenText::Refused, {}, false};
    }
    // The posting window's text with black and white swapped for a dark theme: its own text
    // is read the right way round, and any other in its characters is asked about, never
    // turned over without a word.
    QImage dots = read.dots;
    // Braille this program wrote comes back at the size it was written at; any other says
    // when its size may be its characters' rounded up.
    if (const std::optional<QSize> size = post && read.padded ? post->brailleSize(text) : std::nullopt) {
        dots = dots.copy(QRect(QPoint(0, 0), size->boundedTo(dots.size())));
    } else if (read.padded) {
        MsgBox(parent, QCoreApplication::translate("takePictureText", "点字は 2 × 4 ドットで1文字のため、絵の大きさを文字単位に切り上げて %1 × %2 ドットにしました。"
                          "右端の列や下端の行が余分なら、大きさ欄で小さくしてください。")
                           .arg(dots.width()).arg(dots.height()));
    }
    if (post && !opened && !read.colour) {
        if (post->wroteSwapped(text)) {
            dots = swapped(dots);
        } else if (post->options().swap
                   && readPictureText(text, {post->options().pair}, kLargestSide).kind == TextIntake::Picture) {
            const int answer = MsgBoxAsk(parent, QCoreApplication::translate("takePictureText", "投稿用テキストの「白と黒を入れ替える」が選ばれています。"
                                                    "貼り付けたテキストの白と黒を入れ替えて読みますか？"),
                                         {QCoreApplication::translate("takePictureText", "入れ替えて読む"), QCoreApplication::translate("takePictureText", "そのまま読む"), QCoreApplication::translate("takePictureText", "キャンセル")}, 0);
            if (answer == 2)
                return {TakenText::Refused, {}, false};
            if (answer == 0)
                dots = swapped(dots);
        }
    }
    return {TakenText::Picture, dots, read.colour};
}
