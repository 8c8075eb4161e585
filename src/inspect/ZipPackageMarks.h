#pragma once

#include <QString>

namespace velmora {

// What a zip package holds, by the endings of its member names.
constexpr quint32 ZIP_MARK_CDG = 0x01;
constexpr quint32 ZIP_MARK_MCG = 0x02;
constexpr quint32 ZIP_MARK_NCG = 0x04;
constexpr quint32 ZIP_MARK_MP3 = 0x10;
constexpr quint32 ZIP_MARK_GRAPHICS = ZIP_MARK_CDG | ZIP_MARK_MCG | ZIP_MARK_NCG;

// The mark of a member name (".cdg", ".mcg", ".ncg", ".mp3" in any case), 0 for others.
quint32 ZipMemberMark(const QString &name);

// A karaoke package holds an MP3 and at least one graphics member.
inline bool IsKaraokePackage(quint32 marks)
{
    return (marks & ZIP_MARK_MP3) && (marks & ZIP_MARK_GRAPHICS);
}

} // namespace velmora
