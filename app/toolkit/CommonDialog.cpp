#include "CommonDialog.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QStringList>

#include <utility>
#include <vector>

namespace {

FileDialogRunner &runner()
{
    static FileDialogRunner r;
    return r;
}

std::optional<QString> runModal(QFileDialog &dialog)
{
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return dialog.selectedFiles().constFirst();
}

// The pairs of a NUL-separated filter list, up to the empty piece that ends it.
std::vector<std::pair<QString, QString>> filterPairs(const QByteArray &filter)
{
    std::vector<std::pair<QString, QString>> pairs;
    const QList<QByteArray> pieces = filter.split('\0');
    for (qsizetype i = 0; i + 1 < pieces.size(); i += 2) {
        if (pieces[i].isEmpty())
            break;
        pairs.emplace_back(QString::fromLocal8Bit(pieces[i]), QString::fromLocal8Bit(pieces[i + 1]));
    }
    return pairs;
}

// Qt reads a name filter's patterns from its last bracketed part, separated by spaces,
// and can hide that part from the user. Each description is therefore shown exactly
// as written and followed by its own patterns in the form Qt reads.
QString nameFilter(const std::pair<QString, QString> &pair)
{
    QStringList patterns;
    for (const QString &p : pair.second.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
        const QString t = p.trimmed();
        // "*.*" means every file, those without an extension too.
        patterns << (t == QLatin1String("*.*") ? QStringLiteral("*") : t);
    }
    return pair.first + QLatin1String(" (") + patterns.join(QLatin1Char(' ')) + QLatin1Char(')');
}

void writeText(QByteArray &buffer, DWORD &capacity, const QByteArray &text)
{
    // Grow rather than fail: the caller gets the whole path whatever its length.
    if (DWORD(text.size()) + 1 > capacity)
        capacity = DWORD(text.size()) + 1;
    buffer = text;
    buffer.append(QByteArray(int(capacity) - int(text.size()), '\0'));
}

} // namespace

void setFileDialogRunner(FileDialogRunner r) { runner() = std::move(r); }

int GetOpenFileNameA(OPENFILENAME *ofn)
{
    if (!ofn || (ofn->lStructSize != kOpenFileNameSizeV1 && ofn->lStructSize != kOpenFileNameSizeV5))
        return 0;

    QFileDialog dialog(ofn->hwndOwner);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    // Qt's own dialog everywhere: it honours the filters exactly as given.
    dialog.setOption(QFileDialog::DontUseNativeDialog, true);
    dialog.setOption(QFileDialog::HideNameFilterDetails, true);
    dialog.setFileMode((ofn->Flags & OFN_FILEMUSTEXIST) ? QFileDialog::ExistingFile
                                                        : QFileDialog::AnyFile);
    if (!ofn->lpstrTitle.isEmpty())
        dialog.setWindowTitle(QString::fromLocal8Bit(ofn->lpstrTitle));

    QStringList filters;
    for (const auto &pair : filterPairs(ofn->lpstrFilter))
        filters << nameFilter(pair);
    if (!filters.isEmpty()) {
        dialog.setNameFilters(filters);
        const qsizetype index = ofn->nFilterIndex >= 1 ? qsizetype(ofn->nFilterIndex) - 1 : 0;
        dialog.selectNameFilter(filters.value(index, filters.constFirst()));
    }
    const QString start = QString::fromLocal8Bit(ofn->lpstrInitialDir);
    dialog.setDirectory(start.isEmpty() ? QDir::currentPath() : start);

    const std::optional<QString> chosen = runner() ? runner()(dialog, *ofn) : runModal(dialog);
    if (!chosen || chosen->isEmpty())
        return 0;

    const QFileInfo info(*chosen);
    writeText(ofn->lpstrFile, ofn->nMaxFile, QDir::toNativeSeparators(info.absoluteFilePath()).toLocal8Bit());
    if (ofn->nMaxFileTitle > 0)
        writeText(ofn->lpstrFileTitle, ofn->nMaxFileTitle, info.fileName().toLocal8Bit());
    // The dialog names the chosen filter by its description alone.
    const QString shown = dialog.selectedNameFilter();
    for (qsizetype i = 0; i < filters.size(); ++i)
        if (filters[i] == shown || filters[i].startsWith(shown + QLatin1String(" ("))) {
            ofn->nFilterIndex = DWORD(i + 1);
            break;
        }
    return 1;
}
