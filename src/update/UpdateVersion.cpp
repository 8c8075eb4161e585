#include "update/UpdateVersion.h"

#include "base/Format.h"

#include <QFile>

#include <array>
#include <optional>

namespace velmora {

using namespace Qt::Literals::StringLiterals;

namespace {

using VersionParts = std::array<quint64, 4>;

// Numbers beyond 32 bits cannot be a version of anything; they count as malformed rather
// than wrapping into a small number that could win a comparison.
std::optional<VersionParts> ParseVersion(QString text)
{
    text.replace(u',', u'.');
    VersionParts parts{0, 0, 0, 0};
    int count = 0;
    for (const QString &piece : text.split(u'.', Qt::SkipEmptyParts)) {
        if (count == 4)
            return std::nullopt;
        for (const QChar ch : piece) {
            if (ch < u'0' || ch > u'9')
                return std::nullopt;
        }
        bool ok = false;
        const quint64 value = piece.toULongLong(&ok);
        if (!ok || value > 0xFFFFFFFFu)
            return std::nullopt;
        parts[size_t(count++)] = value;
    }
    if (count == 0)
        return std::nullopt;
    return parts;
}

constexpr QByteArrayView kMarker = "VelmoraFileVersion=";
constexpr qint64 kScanBlock = 1 << 20;
// Executables are scanned this far; a version is never further in than our own binaries.
constexpr qint64 kScanLimit = qint64(256) << 20;

// "a,b,c,d" right after a marker, ended by a zero byte; numbers of 16 bits only.
std::optional<std::array<quint32, 4>> ParseMarkerValue(QByteArrayView text)
{
    const qsizetype end = text.indexOf('\0');
    if (end < 0)
        return std::nullopt;
    const QList<QByteArray> pieces = text.first(end).toByteArray().split(',');
    if (pieces.size() != 4)
        return std::nullopt;
    std::array<quint32, 4> numbers{};
    for (qsizetype i = 0; i < 4; ++i) {
        bool ok = false;
        const uint value = pieces[i].trimmed().toUInt(&ok);
        if (!ok || value > 0xFFFF)
            return std::nullopt;
        numbers[size_t(i)] = value;
    }
    return numbers;
}

} // namespace

int CompareVersions(const QString &a, const QString &b)
{
    const std::optional<VersionParts> left = ParseVersion(a);
    if (!left)
        return -21;
    const std::optional<VersionParts> right = ParseVersion(b);
    if (!right)
        return -22;
    for (size_t i = 0; i < 4; ++i) {
        if ((*left)[i] != (*right)[i])
            return (*left)[i] > (*right)[i] ? 1 : -1;
    }
    return 0;
}

QString FixedVersionText(quint32 mostSignificant, quint32 leastSignificant)
{
    if (leastSignificant != 0)
        return Format(u"%d.%d.%d.%d", mostSignificant >> 16, mostSignificant & 0xFFFF,
                      leastSignificant >> 16, leastSignificant & 0xFFFF);
    if (mostSignificant != 0)
        return Format(u"%d.%d", mostSignificant >> 16, mostSignificant & 0xFFFF);
    return {};
}

QString FileVersionString(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    // Blocks overlap by a marker and its value, so a marker across a block edge is found.
    constexpr qint64 kOverlap = 64;
    QByteArray carry;
    for (qint64 scanned = 0; scanned < kScanLimit;) {
        const QByteArray block = file.read(kScanBlock);
        if (block.isEmpty())
            break;
        scanned += block.size();
        const QByteArray window = carry + block;
        for (qsizetype at = window.indexOf(kMarker); at >= 0; at = window.indexOf(kMarker, at + 1)) {
            const QByteArrayView value = QByteArrayView(window).sliced(at + kMarker.size());
            if (const auto numbers = ParseMarkerValue(value.first(std::min<qsizetype>(value.size(), kOverlap))))
                return FixedVersionText((*numbers)[0] << 16 | (*numbers)[1], (*numbers)[2] << 16 | (*numbers)[3]);
        }
        carry = window.right(std::min<qsizetype>(window.size(), kOverlap + kMarker.size()));
    }
    return {};
}

QString FileDateString(const QDateTime &time)
{
    if (!time.isValid())
        return {};
    return time.toLocalTime().toString(u"yyyy-MM-dd"_s);
}

QString LocalDateString(const QDate &date)
{
    return Format(u"%d-%02d-%02d", date.year(), date.month(), date.day());
}

} // namespace velmora
