#pragma once

#include <QByteArrayView>
#include <QString>
#include <QStringList>

namespace velmora {

// The maker's packaged files (.pcg, .qcg) start with "PCGH" and an info text
// "n|Title|Artist|Album|X-(seconds,bit rate,year,track,genre)". Fills 9 slots; false
// without the header or its text.
bool ReadPackagedHeader(const QString &path, QStringList &result);
// The same from the file's first bytes in memory.
bool ReadPackagedHeaderBytes(QByteArrayView bytes, QStringList &result);

} // namespace velmora
