#pragma once

#include "base/BoundedText.h"
#include "platform/FileTime.h"

#include <QStringList>
#include <array>

namespace velmora {

// Flag word of a song item.
constexpr quint32 ITEM_WALK = 0x1;            // made by AddListItem (with 0x2 clear)
constexpr quint32 ITEM_NOT_WALK = 0x2;
constexpr quint32 ITEM_DETAILS_LOADED = 0x4;
constexpr quint32 ITEM_COLOURED = 0x8;
constexpr quint32 ITEM_CHECKED = 0x80;
constexpr quint32 ITEM_MARK_MASK = 0x60000;   // mark class in bits 17 and 18
constexpr int ITEM_MARK_SHIFT = 17;
constexpr quint32 ITEM_MARK_COMPANION = 0x40000; // class 2
constexpr quint32 ITEM_MARK_PROBLEM = 0x60000;   // class 3

// One row of the checker: a file, a folder, or the files of one song merged into one
// entry. The texts keep the capacities of the original fixed record (terminator included).
struct _ITEMINFO
{
    quint32 dwFlags = 0;
    quint32 dwFileAttributes = 0;
    SFileTime ftCreationTime;
    SFileTime ftLastAccessTime;
    SFileTime ftLastWriteTime;
    quint64 nFileSize = 0;
    qint32 nIcon = 0;
    qint32 nSelectedIcon = 0;
    qint32 nYear = 0;
    qint32 nTrack = 0;
    qint32 nDuration = 0;
    CBoundedText<520> szFileName;
    CBoundedText<260> szPath;
    CBoundedText<80> szType;
    CBoundedText<128> szArtist;
    CBoundedText<128> szTitle;
    CBoundedText<128> szAlbum;
    CBoundedText<64> szGenre;
    CBoundedText<144> szIndex;
    std::array<quint16, 16> anSettings{};
    CBoundedText<96> szMemo;
    CBoundedText<260> szResult;

    // Where the row's files really are. szPath and szFileName are what the lists show and the
    // run logs print: cut to their fields, the names joined by ";" (which a name may hold).
    // Whatever opens, moves or compares a row's files asks FullPath(), FileNames() or
    // FilePaths(), never those two texts.
    QString strFullPath;       // the row's path, whole; empty: szPath is all there is
    QStringList astrFileNames; // the row's file names, when it has more than one
    bool bOneFile = false;     // the row stands for the one file szFileName names

    // Sets szPath and the whole path together.
    void SetPath(const QString &path);
    // Sets the row's files and szFileName, their ";"-joined form.
    void SetFileNames(const QStringList &names);
    // The row's path, whole even when szPath had to be cut.
    QString FullPath() const;
    // The names of the row's files in list order: one for a plain row, every file of a merged
    // song. Rows that got their list from a playlist or song list, where names are joined
    // by ";", have szFileName split at ";" (empty parts skipped). Most rows stand for one
    // file, which szFileName holds whole, so they keep no list of their own.
    QStringList FileNames() const;
    // The first of FileNames(), without building the list: sorts and merges ask it of every row.
    QString FirstFileName() const;
    // The full path of each of the row's files: FullPath() first, the others beside it.
    QStringList FilePaths() const;

    bool IsFolder() const { return (dwFileAttributes & 0x10) != 0; }
    // Neither folder nor regular file (a pipe, socket or device): listed, never opened.
    bool IsDevice() const { return (dwFileAttributes & 0x40) != 0; }
    int MarkClass() const { return int((dwFlags & ITEM_MARK_MASK) >> ITEM_MARK_SHIFT); }
    bool IsWalkItem() const { return (dwFlags & (ITEM_WALK | ITEM_NOT_WALK)) == ITEM_WALK; }
    bool IsDetailsLoaded() const { return (dwFlags & ITEM_DETAILS_LOADED) != 0; }
    bool IsChecked() const { return (dwFlags & ITEM_CHECKED) != 0; }
};

} // namespace velmora
