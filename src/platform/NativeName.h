#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

namespace velmora {

// File names on this system are byte strings, usually UTF-8. Libraries copied from other
// machines may hold names that are not valid UTF-8; each byte that does not decode is kept
// as the lone surrogate U+DC00 + byte, so the name survives the trip back to the disk.
QString DecodeNativeName(QByteArrayView bytes);
QByteArray EncodeNativeName(const QString &name);
// True when the name holds a byte that was not valid UTF-8: other programs, which take names
// as UTF-8 text, cannot open such a file by its name.
bool HasUndecodableBytes(const QString &name);
// True when a library of this process that turns wide names into bytes through the C
// library's locale (the media-information library) gets the name's bytes on disk: the name
// is plain ASCII, or valid UTF-8 under a UTF-8 locale.
bool LocaleEncodesNameExactly(const QString &name);

// Text fit for output that must be valid Unicode (run logs, printed rows): each byte that
// DecodeNativeName kept as a lone surrogate becomes "\xHH" (two upper-case hex digits), and
// any other lone surrogate becomes U+FFFD. With escapeBackslash every "\" is written "\\"
// as well, so that the text names exactly one byte string (the machine-readable outputs).
QString PrintableNativeName(const QString &text, bool escapeBackslash);

} // namespace velmora
