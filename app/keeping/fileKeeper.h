#pragma once

#include <QImage>
#include <QString>

#include <functional>
#include <optional>

class QWidget;
class Recovery;

// Keeping the picture as a file, as the window's commands do it: Ctrl+S and Ctrl+Shift+S
// through the save dialog (asking before a file is replaced, by the name it is written
// under), Ctrl+O, a file named on the command line, Ctrl+Shift+O and the recovery copy
// offered back at the start; every trouble told in the program's message box.
class FileKeeper
{
public:
    struct Window
    {
        QWidget *widget = nullptr;
        // The picture as its text is written (nothing, and the message, when the size fields
        // do not read).
        std::function<std::optional<QImage>()> picture;
        // A picture opened becomes the picture, as one step `name`.
        std::function<void(const QImage &dots, const QString &name)> take;
        // A text opened is read as a paste is (asking which character is black where it must):
        // true when it became the picture; false when it did not, and was said so.
        enum class Text { NotDotText, Refused, Picture };
        std::function<Text(const QString &text)> takeText;
        // The file open changed (a save, a file opened): the title names it.
        std::function<void()> kept;
        // Whether the picture is in colour: its text is then its emoji squares.
        std::function<bool()> colour;
    };
    explicit FileKeeper(Window window);

    void save(bool ask);
    void open();
    void openFile(const QString &path);
    // Whether the file is a picture for the underlay (a picture file the program did not save).
    static bool isUnderlayPicture(const QString &path);

    // Ctrl+Shift+O: the picture the last program had when it ended.
    void openLast(Recovery &recovery);
    // At the start: one left behind by a program that did not end normally, offered back.
    void offerRecovery(Recovery &recovery);
    // The recovery copy cannot be written.
    void tellCannotKeep(const QString &folder);

    // The file open, if any, and whether the picture differs from it now.
    QString path() const { return path_; }
    bool changedSince(const std::optional<QImage> &picture) const;
    // The window's title: the described caption while no file is open, else the file's name
    // with the mark Qt shows while the picture differs from it.
    QString title() const;

private:
    // The file is now where Ctrl+S saves, holding `picture`.
    void kept(const QString &path, bool png, const QImage &picture);

    Window window_;
    QString path_;
    int type_ = 1; // the type the save dialog chose last: 1 text, 2 picture
    QString savedText_;
};
