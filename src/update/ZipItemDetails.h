#pragma once

#include "update/ZipArchive.h"

#include <QByteArrayView>

namespace velmora {

// Windows attributes of an item from the host system in the high byte of its
// version-made-by field and its external attributes.
quint32 ZipItemAttributes(quint32 versionMadeBy, quint32 externalAttributes);

// An item's DOS date (high word) and time (low word), taken as local time, as a UTC file
// time; 0 when the fields do not form a valid date and time.
SFileTime DosTimeToFileTime(quint32 dosDateTime);

// A Unix time, taken as a signed 32-bit number, as a file time.
SFileTime UnixTimeToFileTime(qint32 seconds);

// Replaces the item's times by those of the first "UT" block of its extra data. Only the
// times that lie inside the block are taken.
void ApplyExtendedTimes(QByteArrayView extra, SZipEntry &item);

} // namespace velmora
