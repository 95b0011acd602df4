#include "Fonts.h"

#include <QFont>
#include <QString>
#include <QStringList>

namespace {

void registerSubstitutes()
{
    static const bool done = [] {
        // Proportional gothic faces in the order they are likeliest to match.
        const QStringList gothicP = {QStringLiteral("MS PGothic"), QStringLiteral("IPAPGothic"),
                                     QStringLiteral("IPAexGothic"), QStringLiteral("Noto Sans CJK JP"),
                                     QStringLiteral("VL PGothic"), QStringLiteral("TakaoPGothic")};
        QFont::insertSubstitutions(QStringLiteral("ＭＳ Ｐゴシック"), gothicP);
        QFont::insertSubstitutions(QStringLiteral("MS PGothic"), gothicP.mid(1));
        return true;
    }();
    (void)done;
}

} // namespace

QFont windowsFont(const QString &family, int points)
{
    registerSubstitutes();
    QFont font(family, points, QFont::Normal, false);
    font.setStyleHint(QFont::SansSerif);
    return font;
}
