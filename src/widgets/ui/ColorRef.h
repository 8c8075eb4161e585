#pragma once

#include <QColor>

namespace velmora {

// Colours are kept as 0x00BBGGRR values throughout the program.
inline QColor ColorFromColorRef(quint32 value)
{
    return QColor(int(value & 0xFF), int((value >> 8) & 0xFF), int((value >> 16) & 0xFF));
}

// The light blue-grey of the command bar and its buttons.
constexpr quint32 kBarColour = 0xFCF7F4;

} // namespace velmora
