#pragma once

#include <QByteArray>

#include <cstdint>
#include <functional>
#include <optional>

class QCoreApplication;
class QFileDialog;
class QString;
class QWidget;

using HWND = QWidget *;
using HINSTANCE = QCoreApplication *;
using DWORD = std::uint32_t;
using WORD = std::uint16_t;

constexpr DWORD OFN_OVERWRITEPROMPT = 0x2;
constexpr DWORD OFN_HIDEREADONLY = 0x4;
constexpr DWORD OFN_NOCHANGEDIR = 0x8;
constexpr DWORD OFN_PATHMUSTEXIST = 0x800;
constexpr DWORD OFN_FILEMUSTEXIST = 0x1000;
constexpr DWORD OFN_EXPLORER = 0x80000;

// The open-file dialog's record. Texts are in the system's 8-bit encoding; the filter
// is description/pattern pairs, each piece ended by a NUL, the list by a second NUL.
// The file buffer may grow: a chosen path never fails for being longer than nMaxFile.
struct OPENFILENAME
{
    DWORD lStructSize = 0;
    HWND hwndOwner = nullptr;
    HINSTANCE hInstance = nullptr;
    QByteArray lpstrFilter;
    QByteArray lpstrCustomFilter;
    DWORD nMaxCustFilter = 0;
    DWORD nFilterIndex = 0;
    QByteArray lpstrFile;
    DWORD nMaxFile = 0;
    QByteArray lpstrFileTitle;
    DWORD nMaxFileTitle = 0;
    QByteArray lpstrInitialDir;
    QByteArray lpstrTitle;
    DWORD Flags = 0;
    WORD nFileOffset = 0;
    WORD nFileExtension = 0;
    QByteArray lpstrDefExt;
    std::intptr_t lCustData = 0;
    void *lpfnHook = nullptr;
    QByteArray lpTemplateName;
};

// The record's first version; later versions append fields and are 88.
constexpr DWORD kOpenFileNameSizeV1 = 76;
constexpr DWORD kOpenFileNameSizeV5 = 88;

// Shows the modal open-file dialog the record describes. Returns nonzero when the user
// chose a file (its full path is then in lpstrFile and its bare name in lpstrFileTitle,
// each ended by NUL), 0 on cancel or when the record is not one it can show.
int GetOpenFileNameA(OPENFILENAME *ofn);
// The save-file dialog the record describes, the same dialog in its saving form: a name may
// be typed that does not exist yet; with OFN_OVERWRITEPROMPT one that does is confirmed. A
// name in lpstrFile when called is offered.
int GetSaveFileNameA(OPENFILENAME *ofn);

// Runs the dialog configured from the record and returns the accepted path, or nothing
// on cancel. Tests install their own to answer the dialog without a modal loop;
// nullptr restores the real one.
using FileDialogRunner =
    std::function<std::optional<QString>(QFileDialog &dialog, const OPENFILENAME &ofn)>;
void setFileDialogRunner(FileDialogRunner runner);
