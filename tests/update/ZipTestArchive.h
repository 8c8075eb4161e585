#pragma once

// Builds zip archives byte by byte for the tests, including ones no honest writer makes:
// local headers that disagree with the central directory, lying sizes and checksums,
// encrypted flags, and names that try to leave the extraction folder.

#include <QByteArray>
#include <QList>
#include <QProcess>

#include <optional>
#include <zlib.h>

namespace velmora::test {

// 2024-03-15 10:20:30 in DOS form: date in the high word, time in the low word.
constexpr quint32 kTestDosTime = ((44u << 9 | 3u << 5 | 15u) << 16) | (10u << 11 | 20u << 5 | 15u);
constexpr quint16 kMadeByUnix = 0x031E;
constexpr quint16 kMadeByDos = 0x0014;
constexpr quint32 kUnixFileMode = 0100644u << 16;

struct SZipTestMember
{
    QByteArray name;
    QByteArray content;
    bool bDeflate = false;
    quint16 nMadeBy = kMadeByUnix;
    quint32 dwExternal = kUnixFileMode;
    quint32 dwDosTime = kTestDosTime;
    quint16 nFlags = 0;
    QByteArray centralExtra;
    std::optional<QByteArray> localName;        // a local header name unlike the central one
    std::optional<quint32> declaredSize;        // the unpacked size both headers claim
    std::optional<quint32> crc;                 // the checksum both headers claim
    std::optional<quint16> method;              // a packing method other than stored or deflated
    std::optional<QByteArray> packed;           // the data packed by that method
};

inline QByteArray RawDeflate(const QByteArray &data, int level = Z_BEST_COMPRESSION)
{
    z_stream stream{};
    deflateInit2(&stream, level, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY);
    QByteArray out(qsizetype(deflateBound(&stream, uLong(data.size()))), '\0');
    stream.next_in = reinterpret_cast<Bytef *>(const_cast<char *>(data.constData()));
    stream.avail_in = uInt(data.size());
    stream.next_out = reinterpret_cast<Bytef *>(out.data());
    stream.avail_out = uInt(out.size());
    deflate(&stream, Z_FINISH);
    out.resize(qsizetype(stream.total_out));
    deflateEnd(&stream);
    return out;
}

inline void PutL2(QByteArray &out, quint32 value)
{
    out.append(char(value & 0xFF)).append(char((value >> 8) & 0xFF));
}

inline void PutL4(QByteArray &out, quint32 value)
{
    PutL2(out, value & 0xFFFF);
    PutL2(out, value >> 16);
}

inline QByteArray BuildZip(const QList<SZipTestMember> &members)
{
    QByteArray archive;
    QByteArray central;
    for (const SZipTestMember &member : members) {
        const QByteArray data = member.packed ? *member.packed : member.bDeflate ? RawDeflate(member.content) : member.content;
        const quint32 crc = member.crc.value_or(
            quint32(crc32(0, reinterpret_cast<const Bytef *>(member.content.constData()), uInt(member.content.size()))));
        const quint32 size = member.declaredSize.value_or(quint32(member.content.size()));
        const quint32 offset = quint32(archive.size());
        const auto common = [&](QByteArray &out) {
            PutL2(out, 20);
            PutL2(out, member.nFlags);
            PutL2(out, member.method.value_or(member.bDeflate ? 8 : 0));
            PutL4(out, member.dwDosTime);
            PutL4(out, crc);
            PutL4(out, quint32(data.size()));
            PutL4(out, size);
        };
        const QByteArray localName = member.localName.value_or(member.name);
        PutL4(archive, 0x04034b50);
        common(archive);
        PutL2(archive, quint32(localName.size()));
        PutL2(archive, 0);
        archive += localName;
        archive += data;

        PutL4(central, 0x02014b50);
        PutL2(central, member.nMadeBy);
        common(central);
        PutL2(central, quint32(member.name.size()));
        PutL2(central, quint32(member.centralExtra.size()));
        PutL2(central, 0);
        PutL2(central, 0);
        PutL2(central, 0);
        PutL4(central, member.dwExternal);
        PutL4(central, offset);
        central += member.name;
        central += member.centralExtra;
    }
    const quint32 centralOffset = quint32(archive.size());
    archive += central;
    PutL4(archive, 0x06054b50);
    PutL2(archive, 0);
    PutL2(archive, 0);
    PutL2(archive, quint32(members.size()));
    PutL2(archive, quint32(members.size()));
    PutL4(archive, quint32(central.size()));
    PutL4(archive, centralOffset);
    PutL2(archive, 0);
    return archive;
}

// A member packed with Deflate64 (method 9), which the in-process reader does not read. Made
// of stored deflate blocks only, which read the same in Deflate64.
inline SZipTestMember Deflate64Member(const QByteArray &name, const QByteArray &content)
{
    SZipTestMember member{name, content};
    member.method = 9;
    member.packed = RawDeflate(content, Z_NO_COMPRESSION);
    return member;
}

// A member packed with bzip2 (method 12) by the bzip2 tool, whose output is the stream a zip
// member holds; nullopt when the tool is missing.
inline std::optional<SZipTestMember> Bzip2Member(const QByteArray &name, const QByteArray &content)
{
    QProcess bzip2;
    bzip2.start(QStringLiteral("bzip2"), {QStringLiteral("-c")});
    if (!bzip2.waitForStarted(10000))
        return std::nullopt;
    bzip2.write(content);
    bzip2.closeWriteChannel();
    if (!bzip2.waitForFinished(30000) || bzip2.exitCode() != 0)
        return std::nullopt;
    SZipTestMember member{name, content};
    member.method = 12;
    member.packed = bzip2.readAllStandardOutput();
    return member;
}

// A "UT" extra block with the given flags and times (as many as are given).
inline QByteArray ExtendedTimeBlock(quint8 flags, const QList<qint32> &times)
{
    QByteArray block("UT");
    PutL2(block, quint32(1 + 4 * times.size()));
    block.append(char(flags));
    for (const qint32 time : times)
        PutL4(block, quint32(time));
    return block;
}

} // namespace velmora::test
