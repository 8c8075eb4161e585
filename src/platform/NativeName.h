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

} // namespace velmora
