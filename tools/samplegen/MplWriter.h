#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

namespace velmora::samplegen {

// Archive strings as the maker's MPL playlists store them: a one-byte length below 255,
// else FF and a 16-bit length (FF FF FF and 32 bits beyond that); Unicode strings put
// FF FE FF in front and count UTF-16 units. 8-bit text is written in code page 1252.
QByteArray ArchiveString8(const QByteArray &bytes);
QByteArray ArchiveString16(const QString &text);

// An MPL file: the magic, the record count, then each record's strings (two for
// "klovmplfile", five for "klovmplrev2"), all as 8-bit strings unless unicode is set.
QByteArray MakeMplFile(const QString &magic, const QList<QStringList> &records, bool unicode = false);

} // namespace velmora::samplegen
