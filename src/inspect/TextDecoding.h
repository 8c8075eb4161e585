#pragma once

#include <QByteArrayView>
#include <QString>

namespace velmora {

// Texts from files are read into buffers of 2048 characters, terminator included.
constexpr qsizetype kMaxDecodedText = 2047;

// UTF-8 bytes as text, cut to kMaxDecodedText units (never inside a surrogate pair); empty
// when the result has fewer than two characters.
QString Utf8ToWide(QByteArrayView bytes);

// The code page a narrow text was most likely written in: 949 (Korean) when its first byte
// above 128 is above 175 and followed by a byte above 160, otherwise 1252; 0 when empty.
int GuessCodePage(QByteArrayView bytes);

} // namespace velmora
