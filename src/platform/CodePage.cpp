#include "platform/CodePage.h"

#include "platform/Settings.h"

#include <cerrno>
#include <functional>
#include <memory>
#include <mutex>

#include <QHash>
#include <iconv.h>
#include <optional>

namespace velmora {

using namespace Qt::Literals::StringLiterals;

namespace {

std::optional<int> &CachedCodePage()
{
    static std::optional<int> codePage;
    return codePage;
}

QByteArray IconvName(int codePage)
{
    if (codePage == kUtf8CodePage)
        return QByteArrayLiteral("UTF-8");
    return QByteArrayLiteral("CP") + QByteArray::number(codePage);
}

class CIconv
{
public:
    CIconv(const char *to, const char *from) : m_handle(iconv_open(to, from)) {}
    ~CIconv()
    {
        if (IsOpen())
            iconv_close(m_handle);
    }
    CIconv(const CIconv &) = delete;
    CIconv &operator=(const CIconv &) = delete;
    bool IsOpen() const { return m_handle != reinterpret_cast<iconv_t>(-1); }
    iconv_t Handle() const { return m_handle; }

private:
    iconv_t m_handle;
};

// Opening a converter costs more than converting a title or a path with it, so each thread
// keeps the few it has opened (a missing one too), and each use starts from a reset state.
CIconv &Converter(const char *to, const char *from)
{
    thread_local QHash<QByteArray, std::shared_ptr<CIconv>> converters;
    const QByteArray key = QByteArray(to) + '<' + from;
    std::shared_ptr<CIconv> &converter = converters[key];
    if (!converter)
        converter = std::make_shared<CIconv>(to, from);
    else if (converter->IsOpen())
        iconv(converter->Handle(), nullptr, nullptr, nullptr, nullptr);
    return *converter;
}

// Converts the whole input. A unit the converter rejects is skipped (skipUnit says how many
// input bytes it spans) and replaced by replacement, so a text in the wrong encoding still
// comes back as well as it can. False only when the converter is missing.
bool Convert(const char *to, const char *from, const QByteArray &input, const QByteArray &replacement,
             const std::function<qsizetype(const char *, size_t)> &skipUnit, QByteArray *output)
{
    CIconv &converter = Converter(to, from);
    if (!converter.IsOpen())
        return false;
    output->clear();
    QByteArray chunk(qMax<qsizetype>(64, input.size() * 2 + 16), Qt::Uninitialized);
    char *in = const_cast<char *>(input.constData());
    size_t inLeft = size_t(input.size());
    while (true) {
        char *out = chunk.data();
        size_t outLeft = size_t(chunk.size());
        const size_t result = iconv(converter.Handle(), inLeft > 0 ? &in : nullptr, &inLeft, &out, &outLeft);
        output->append(chunk.constData(), chunk.size() - qsizetype(outLeft));
        if (result != size_t(-1)) {
            if (inLeft == 0)
                break;
            continue;
        }
        if (errno == E2BIG)
            continue;
        // EILSEQ or EINVAL (a sequence cut off at the end): replace one unit and go on.
        const qsizetype skip = std::min<qsizetype>(qsizetype(inLeft), skipUnit(in, inLeft));
        output->append(replacement);
        in += skip;
        inLeft -= size_t(skip);
        if (inLeft == 0)
            break;
    }
    return true;
}

qsizetype OneByte(const char *, size_t)
{
    return 1;
}

// One UTF-16 LE code unit, or two for a surrogate pair.
qsizetype OneCharacter(const char *data, size_t left)
{
    if (left >= 4) {
        const char16_t unit = char16_t(quint8(data[0]) | (quint8(data[1]) << 8));
        const char16_t next = char16_t(quint8(data[2]) | (quint8(data[3]) << 8));
        if (QChar::isHighSurrogate(unit) && QChar::isLowSurrogate(next))
            return 4;
    }
    return 2;
}

const QByteArray kReplacementUtf16("\xFD\xFF", 2); // U+FFFD, little-endian

bool IsAscii(const QByteArray &bytes)
{
    quint8 high = 0;
    for (const char byte : bytes)
        high |= quint8(byte);
    return high < 0x80;
}

QString DecodeWithConverter(const QByteArray &bytes, int codePage, bool *ok)
{
    QByteArray utf16;
    const bool converted =
        Convert("UTF-16LE", IconvName(codePage).constData(), bytes, kReplacementUtf16, OneByte, &utf16);
    if (ok)
        *ok = converted;
    if (!converted)
        return {};
    return QString(reinterpret_cast<const QChar *>(utf16.constData()), utf16.size() / 2);
}

// Most tags and titles are plain ASCII. Opening a converter for each of them costs more than
// the rest of reading a song, so a code page whose converter maps the 128 ASCII bytes to
// themselves (asked once per code page) decodes ASCII text without one.
bool KeepsAscii(int codePage)
{
    static std::mutex mutex;
    static QHash<int, bool> answers;
    const std::lock_guard<std::mutex> lock(mutex);
    const auto known = answers.constFind(codePage);
    if (known != answers.constEnd())
        return *known;
    QByteArray ascii(0x80, Qt::Uninitialized);
    for (int byte = 0; byte < 0x80; ++byte)
        ascii[byte] = char(byte);
    bool ok = false;
    const bool keeps = DecodeWithConverter(ascii, codePage, &ok) == QString::fromLatin1(ascii) && ok;
    answers.insert(codePage, keeps);
    return keeps;
}

// The settings file keeps a group named "General" as "[%General]", since "[General]" holds
// its keys without a group; a user writing the file by hand writes "[General]", so both
// forms are read.
int StoredCodePage()
{
    const auto settings = OpenSettings();
    for (const QString &key : {u"General/AnsiCodePage"_s, u"AnsiCodePage"_s}) {
        bool ok = false;
        const int stored = settings->value(key).toInt(&ok);
        if (ok && stored > 0)
            return stored;
    }
    return 0;
}

} // namespace

int AnsiCodePage()
{
    if (!CachedCodePage()) {
        const int stored = StoredCodePage();
        CachedCodePage() = stored > 0 ? stored : LocaleCodePage();
    }
    return *CachedCodePage();
}

int CodePageOfLocale(const QString &locale)
{
    // "ko_KR.UTF-8", "zh_TW.Big5", "ja_JP@...": language, then territory.
    const QString name = locale.section(u'.', 0, 0).section(u'@', 0, 0);
    const QString language = name.section(u'_', 0, 0);
    const QString territory = name.section(u'_', 1, 1);
    if (language == u"ko")
        return 949;
    if (language == u"ja")
        return 932;
    if (language == u"zh")
        return territory == u"TW" || territory == u"HK" || territory == u"MO" ? 950 : 936;
    return kDefaultAnsiCodePage;
}

int LocaleCodePage()
{
    for (const char *variable : {"LC_ALL", "LC_CTYPE", "LANG"}) {
        const QString value = qEnvironmentVariable(variable);
        if (!value.isEmpty())
            return CodePageOfLocale(value);
    }
    return kDefaultAnsiCodePage;
}

bool IsSupportedCodePage(int codePage)
{
    for (const int supported : {1252, 1251, 949, 932, 936, 950, kUtf8CodePage}) {
        if (codePage == supported)
            return true;
    }
    return false;
}

int ResolveCodePage(int codePage)
{
    return codePage == kAnsiCodePage ? AnsiCodePage() : codePage;
}

void SetAnsiCodePage(int codePage)
{
    CachedCodePage() = codePage > 0 ? codePage : kDefaultAnsiCodePage;
}

void ResetAnsiCodePage()
{
    CachedCodePage().reset();
}

QString DecodeCodePage(const QByteArray &bytes, int codePage, bool *ok)
{
    const int resolved = ResolveCodePage(codePage);
    if (IsAscii(bytes) && KeepsAscii(resolved)) {
        if (ok)
            *ok = true;
        return QString::fromLatin1(bytes);
    }
    return DecodeWithConverter(bytes, resolved, ok);
}

QByteArray EncodeCodePage(const QString &text, int codePage, bool *ok)
{
    const QByteArray utf16(reinterpret_cast<const char *>(text.utf16()), text.size() * 2);
    QByteArray narrow;
    const bool converted = Convert(IconvName(ResolveCodePage(codePage)).constData(), "UTF-16LE", utf16,
                                   QByteArrayLiteral("#"), OneCharacter, &narrow);
    if (ok)
        *ok = converted;
    return converted ? narrow : QByteArray();
}

} // namespace velmora
