#include "platform/NativeName.h"

#include <cstring>
#include <langinfo.h>

namespace velmora {

namespace {

constexpr char16_t kEscapeBase = 0xDC80;

// Length of the valid UTF-8 sequence starting at bytes[i], or 0 when it is not valid.
int ValidSequenceLength(QByteArrayView bytes, qsizetype i, char32_t *codePoint)
{
    const auto byteAt = [&](qsizetype k) { return quint8(bytes.at(k)); };
    const quint8 lead = byteAt(i);
    int length = 0;
    char32_t value = 0;
    char32_t minimum = 0;
    if (lead < 0x80) {
        *codePoint = lead;
        return 1;
    } else if ((lead & 0xE0) == 0xC0) {
        length = 2; value = lead & 0x1F; minimum = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3; value = lead & 0x0F; minimum = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4; value = lead & 0x07; minimum = 0x10000;
    } else {
        return 0;
    }
    if (i + length > bytes.size())
        return 0;
    for (int k = 1; k < length; ++k) {
        const quint8 next = byteAt(i + k);
        if ((next & 0xC0) != 0x80)
            return 0;
        value = (value << 6) | (next & 0x3F);
    }
    const bool surrogate = value >= 0xD800 && value <= 0xDFFF;
    if (value < minimum || value > 0x10FFFF || surrogate)
        return 0;
    *codePoint = value;
    return length;
}

// Every path of a check goes through these two, so they build no string per character.
void AppendCodePoint(QString &text, char32_t codePoint)
{
    if (QChar::requiresSurrogates(codePoint)) {
        text.append(QChar(QChar::highSurrogate(codePoint)));
        text.append(QChar(QChar::lowSurrogate(codePoint)));
    } else {
        text.append(QChar(char16_t(codePoint)));
    }
}

// UTF-8 of a code point that is no surrogate.
void AppendUtf8(QByteArray &bytes, char32_t codePoint)
{
    if (codePoint < 0x80) {
        bytes.append(char(codePoint));
    } else if (codePoint < 0x800) {
        bytes.append(char(0xC0 | (codePoint >> 6)));
        bytes.append(char(0x80 | (codePoint & 0x3F)));
    } else if (codePoint < 0x10000) {
        bytes.append(char(0xE0 | (codePoint >> 12)));
        bytes.append(char(0x80 | ((codePoint >> 6) & 0x3F)));
        bytes.append(char(0x80 | (codePoint & 0x3F)));
    } else {
        bytes.append(char(0xF0 | (codePoint >> 18)));
        bytes.append(char(0x80 | ((codePoint >> 12) & 0x3F)));
        bytes.append(char(0x80 | ((codePoint >> 6) & 0x3F)));
        bytes.append(char(0x80 | (codePoint & 0x3F)));
    }
}

bool NeedsPrinting(const QString &text, bool escapeBackslash)
{
    for (const QChar unit : text) {
        if (unit.isSurrogate() || (escapeBackslash && unit == u'\\'))
            return true;
    }
    return false;
}

} // namespace

bool HasUndecodableBytes(const QString &name)
{
    for (const QChar unit : name) {
        if (unit.unicode() >= kEscapeBase && unit.unicode() <= kEscapeBase + 0x7F)
            return true;
    }
    return false;
}

bool LocaleEncodesNameExactly(const QString &name)
{
    bool ascii = true;
    for (const QChar unit : name)
        ascii = ascii && unit.unicode() < 0x80;
    if (ascii)
        return true;
    return !HasUndecodableBytes(name) && std::strcmp(::nl_langinfo(CODESET), "UTF-8") == 0;
}

QString PrintableNativeName(const QString &text, bool escapeBackslash)
{
    if (!NeedsPrinting(text, escapeBackslash))
        return text;
    static constexpr char16_t kHex[] = u"0123456789ABCDEF";
    QString printable;
    printable.reserve(text.size() + 8);
    const qsizetype count = text.size();
    for (qsizetype i = 0; i < count; ++i) {
        const char16_t unit = text.at(i).unicode();
        if (QChar::isHighSurrogate(unit) && i + 1 < count && QChar::isLowSurrogate(text.at(i + 1).unicode())) {
            printable.append(text.at(i));
            printable.append(text.at(++i));
        } else if (unit >= kEscapeBase && unit <= kEscapeBase + 0x7F) {
            const int byte = unit - kEscapeBase + 0x80;
            printable.append(u"\\x");
            printable.append(QChar(kHex[byte >> 4]));
            printable.append(QChar(kHex[byte & 0xF]));
        } else if (QChar::isSurrogate(unit)) {
            printable.append(QChar(QChar::ReplacementCharacter));
        } else if (escapeBackslash && unit == u'\\') {
            printable.append(u"\\\\");
        } else {
            printable.append(QChar(unit));
        }
    }
    return printable;
}

QString DecodeNativeName(QByteArrayView bytes)
{
    quint8 high = 0;
    for (const char byte : bytes)
        high |= quint8(byte);
    if (high < 0x80)
        return QString::fromLatin1(bytes);
    QString name;
    name.reserve(bytes.size());
    for (qsizetype i = 0; i < bytes.size();) {
        char32_t codePoint = 0;
        const int length = ValidSequenceLength(bytes, i, &codePoint);
        if (length == 0) {
            name.append(QChar(char16_t(kEscapeBase + quint8(bytes.at(i)) - 0x80)));
            ++i;
            continue;
        }
        AppendCodePoint(name, codePoint);
        i += length;
    }
    // Rows keep the name for the whole check: give back what the reserve held beyond it
    // (two thirds of it for a name in CJK).
    if (name.capacity() - name.size() > 16)
        name.squeeze();
    return name;
}

QByteArray EncodeNativeName(const QString &name)
{
    QByteArray bytes;
    bytes.reserve(name.size() * 3);
    const qsizetype count = name.size();
    for (qsizetype i = 0; i < count; ++i) {
        const char16_t unit = name.at(i).unicode();
        const bool highSurrogate = QChar::isHighSurrogate(unit);
        if (highSurrogate && i + 1 < count && QChar::isLowSurrogate(name.at(i + 1).unicode())) {
            AppendUtf8(bytes, QChar::surrogateToUcs4(unit, name.at(i + 1).unicode()));
            ++i;
        } else if (unit >= kEscapeBase && unit <= kEscapeBase + 0x7F) {
            bytes.append(char(unit - kEscapeBase + 0x80));
        } else if (highSurrogate || QChar::isLowSurrogate(unit)) {
            bytes.append('?');
        } else {
            AppendUtf8(bytes, unit);
        }
    }
    return bytes;
}

} // namespace velmora
