#include "CommonDialog.h"

#include <QDateTime>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QHeaderView>
#include <QIdentityProxyModel>
#include <QLocale>
#include <QSplitter>
#include <QStringList>
#include <QTreeView>

#include <utility>
#include <vector>

namespace {

FileDialogRunner &runner()
{
    static FileDialogRunner r;
    return r;
}

// Qt's file model writes sizes and dates in the system's locale, not the program's, so a
// Japanese dialog on an English system would say "KiB" and "7 Dec". This writes them the
// way the rest of the dialog speaks.
class LocalizedColumns : public QIdentityProxyModel
{
public:
    using QIdentityProxyModel::QIdentityProxyModel;

    QVariant data(const QModelIndex &index, int role) const override
    {
        const auto *files = qobject_cast<const QFileSystemModel *>(sourceModel());
        if (role != Qt::DisplayRole || !files || (index.column() != 1 && index.column() != 3))
            return QIdentityProxyModel::data(index, role);
        const QModelIndex source = mapToSource(index);
        const QLocale locale;
        if (index.column() == 3)
            return locale.toString(files->lastModified(source), QLocale::ShortFormat);
        if (files->isDir(source))
            return QString();
        return locale.formattedDataSize(files->size(source), 1, QLocale::DataSizeTraditionalFormat);
    }
};

// Room for every column and the side bar: the dialog's own default cuts them short.
void giveRoom(QFileDialog &dialog)
{
    dialog.setProxyModel(new LocalizedColumns(&dialog));
    dialog.resize(820, 480);
    if (auto *details = dialog.findChild<QTreeView *>(QStringLiteral("treeView"))) {
        QHeaderView *header = details->header();
        header->setStretchLastSection(false);
        header->setSectionResizeMode(0, QHeaderView::Stretch);
        for (int column = 1; column < header->count(); ++column)
            header->setSectionResizeMode(column, QHeaderView::ResizeToContents);
    }
    if (auto *splitter = dialog.findChild<QSplitter *>(QStringLiteral("splitter")))
        splitter->setSizes({170, 650});
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

namespace {

int runFileDialog(OPENFILENAME *ofn, bool save)
{
    if (!ofn || (ofn->lStructSize != kOpenFileNameSizeV1 && ofn->lStructSize != kOpenFileNameSizeV5))
        return 0;

    QFileDialog dialog(ofn->hwndOwner);
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    // Qt's own dialog everywhere: it honours the filters exactly as given.
    dialog.setOption(QFileDialog::DontUseNativeDialog, true);
    dialog.setOption(QFileDialog::HideNameFilterDetails, true);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, !(ofn->Flags & OFN_OVERWRITEPROMPT));
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
    if (save && !ofn->lpstrFile.isEmpty() && ofn->lpstrFile.front() != '\0')
        dialog.selectFile(QString::fromLocal8Bit(ofn->lpstrFile.constData()));
    giveRoom(dialog);

    const std::optional<QString> chosen = runner() ? runner()(dialog, *ofn) : runModal(dialog);
    if (!chosen || chosen->isEmpty())
        return 0;

    const QFileInfo info(*chosen);
    // As the platform's dialog does: the chosen file's folder becomes the current one, so
    // that the next dialog opens where the user last was.
    if (!(ofn->Flags & OFN_NOCHANGEDIR))
        QDir::setCurrent(info.absolutePath());
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

} // namespace

int GetOpenFileNameA(OPENFILENAME *ofn) { return runFileDialog(ofn, false); }

int GetSaveFileNameA(OPENFILENAME *ofn) { return runFileDialog(ofn, true); }
