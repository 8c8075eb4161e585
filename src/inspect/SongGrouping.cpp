#include "inspect/SongGrouping.h"

#include "inspect/FileList.h"
#include "inspect/MediaTypes.h"

namespace velmora {

using namespace Qt::Literals::StringLiterals;

namespace {

// The base name that groups a file: "Song-.mp3" belongs with "Song.cdg".
QString GroupBaseName(const QString &fileName)
{
    QString base = BaseNameOf(fileName);
    if (ExtensionOf(fileName).compare(u".mp3"_s, Qt::CaseInsensitive) == 0) {
        while (base.endsWith(u'-'))
            base.chop(1);
    }
    return base;
}

bool FormsSong(const QStringList &members)
{
    bool audio = false;
    bool companion = false;
    for (const QString &member : members) {
        const ESongRole role = SongRoleOf(member);
        audio = audio || role == ESongRole::Audio;
        companion = companion || role == ESongRole::Companion;
    }
    return audio && companion;
}

void MoveDashMp3ToEnd(QStringList &members)
{
    for (qsizetype i = 0; i < members.size(); ++i) {
        if (members.at(i).endsWith(u"-.mp3"_s, Qt::CaseInsensitive)) {
            members.append(members.takeAt(i));
            return;
        }
    }
}

QStringList OrderedFileList(const QStringList &members)
{
    QStringList graphics;
    QStringList audio;
    QStringList rest;
    for (const QString &member : members) {
        if (HasEnding(member, u".cdg") || HasEnding(member, u".mcg") || HasEnding(member, u".ncg"))
            graphics.append(member);
        else if (HasEnding(member, u".mp3") || HasEnding(member, u".wav") || HasEnding(member, u".wma"))
            audio.append(member);
        else
            rest.append(member);
    }
    return graphics + audio + rest;
}

// A walked row stands for one file; its name is kept apart from the list's ";" joining.
QString NameOf(const _ITEMINFO &item)
{
    return item.FirstFileName();
}

// Whether two paths lie in one folder as FolderOf sees it; paths of one folder most often
// spell it alike, which needs no copy.
bool InSameFolder(const QString &a, const QString &b)
{
    const QStringView folderA = QStringView(a).first(a.lastIndexOf(u'/') + 1);
    const QStringView folderB = QStringView(b).first(b.lastIndexOf(u'/') + 1);
    return folderA == folderB || FolderOf(a) == FolderOf(b);
}

} // namespace

int GroupSongFiles(const CArray<_ITEMINFO> &items, int first, QStringList &fileList)
{
    fileList.clear();
    if (first < 0 || first >= items.GetSize())
        return 0;
    const _ITEMINFO &head = items[first];
    const QString headName = NameOf(head);
    if (!IsKnownMediaFile(headName))
        return 0;
    const QString headPath = head.FullPath();
    const QString base = GroupBaseName(headName);

    QStringList members{headName};
    for (int i = first + 1; i < items.GetSize(); ++i) {
        const QString name = NameOf(items[i]);
        if (!IsKnownMediaFile(name) || !InSameFolder(items[i].FullPath(), headPath))
            break;
        if (GroupBaseName(name).compare(base, Qt::CaseInsensitive) != 0)
            break;
        if (members.size() > 1 && HasEnding(name, u".zip"))
            break;
        members.append(name);
    }
    if (members.size() < 2 || !FormsSong(members))
        return 0;
    const int joined = int(members.size()) - 1;
    MoveDashMp3ToEnd(members);
    fileList = OrderedFileList(members);
    return joined;
}

int GroupSongFiles(const CArray<_ITEMINFO> &items, int first, QString &fileList)
{
    QStringList members;
    const int joined = GroupSongFiles(items, first, members);
    fileList = members.join(u';');
    return joined;
}

} // namespace velmora
