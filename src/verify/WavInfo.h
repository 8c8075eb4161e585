#pragma once

#include <QByteArrayView>
#include <QtGlobal>

namespace velmora {

// The audio of a RIFF WAVE file, from its chunk headers.
struct SWavInfo
{
    bool bFound = false;     // a "fmt " and a "data" chunk were found in the head
    double dSeconds = 0;     // of the bytes the data chunk declares
    qint64 nDeclared = 0;    // data bytes declared
    qint64 nPresent = 0;     // data bytes the file holds
    double dMissing = 0;     // seconds declared but not present
};

// head: the first bytes of the file; size: the whole file's size.
SWavInfo ReadWavInfo(QByteArrayView head, qint64 size);

} // namespace velmora
