#pragma once

#include <QString>
#include <QStringList>

namespace velmora {

// The non-empty names of a ";"-joined file-name list, in order.
int SplitFileList(const QString &list, QStringList &names);

// True when the first name of list (the text before its first ";") exists in folder.
bool FirstFileExists(const QString &folder, const QString &list);

// True when a file or folder of that path exists.
bool FileExists(const QString &path);

// Drive and folder of a path, ending in "/", doubled separators collapsed to one.
QString FolderOf(const QString &path);
// The last component of a path without its extension.
QString BaseNameOf(const QString &path);
// The last component's text from its last "." on, dot included; empty without a dot.
QString ExtensionOf(const QString &path);

// The last four characters of a name, which the type tests compare without regard to case.
bool HasEnding(const QString &name, QStringView ending);

qsizetype CountChar(const QString &text, QChar ch);

// Index of a line whose leading number equals number, in lines sorted by that number;
// -1 when there is none.
int FindByNumber(const QStringList &lines, int number);

// A copy fit for a run-log line: every "%" replaced by "?".
QString LogSafePath(const QString &path);

} // namespace velmora
