#pragma once

#include <QDate>
#include <QDateTime>
#include <QString>

namespace velmora {

// 1 when a is newer, -1 when older, 0 when equal; -21 when a is malformed, -22 when b is.
// "," counts as "." so resource-style versions ("1, 0, 0, 16") compare too.
int CompareVersions(const QString &a, const QString &b);

// The version a file carries in its embedded "VelmoraFileVersion=a,b,c,d" marker (our
// executables link one in), shown "%d.%d.%d.%d", or "%d.%d" when the last two numbers
// are 0; "" for a file without the marker or that cannot be read.
QString FileVersionString(const QString &path);
// The four 16-bit numbers of a version block as the version resource shows them.
QString FixedVersionText(quint32 mostSignificant, quint32 leastSignificant);

// A time as local "%Y-%m-%d"; empty for an invalid time.
QString FileDateString(const QDateTime &time);
// Today's local date as "%d-%02d-%02d".
QString LocalDateString(const QDate &date);

} // namespace velmora
