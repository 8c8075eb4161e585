#pragma once

#include "base/ByteReader.h"

#include <QString>
#include <optional>

namespace velmora {

// One string of the framework's archive format: a length prefix that widens step by step
// (one byte, 16, 32 bits), an optional FF FE FF marker for UTF-16 text, then the characters
// without a terminator. 8-bit text is decoded from the ANSI code page. nullopt when the
// string runs past the data or claims a 64-bit length, which no playlist needs.
std::optional<QString> ReadArchiveString(CByteReader &reader);

// The next archive string as it is stored: its length in characters, whether they are
// UTF-16, and their bytes; the reader moves past it. nullopt exactly when
// ReadArchiveString would refuse it. Two spans with the same width and bytes decode to the
// same text.
struct SArchiveStringSpan
{
    qsizetype nLength = 0;
    bool bUnicode = false;
    QByteArrayView characters;

    bool SameText(const SArchiveStringSpan &other) const
    {
        return bUnicode == other.bUnicode && characters == other.characters;
    }
};
std::optional<SArchiveStringSpan> SkipArchiveString(CByteReader &reader);
QString DecodeArchiveString(const SArchiveStringSpan &span);

} // namespace velmora
