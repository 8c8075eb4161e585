#include "platform/CodePage.h"

#include "platform/Settings.h"

#include <cerrno>
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

// Runs one whole conversion; false when the converter is missing or the input is invalid.
bool Convert(const char *to, const char *from, const QByteArray &input, QByteArray *output)
{
    iconv_t converter = iconv_open(to, from);
    if (converter == reinterpret_cast<iconv_t>(-1))
        return false;
    output->resize(input.size() * 4 + 16);
    char *in = const_cast<char *>(input.constData());
    size_t inLeft = size_t(input.size());
    char *out = output->data();
    size_t outLeft = size_t(output->size());
    const size_t result = iconv(converter, &in, &inLeft, &out, &outLeft);
    iconv_close(converter);
    if (result == size_t(-1))
        return false;
    output->resize(output->size() - qsizetype(outLeft));
    return true;
}

} // namespace

int AnsiCodePage()
{
    if (!CachedCodePage()) {
        const int stored = OpenSettings()->value(u"General/AnsiCodePage"_s, kDefaultAnsiCodePage).toInt();
        CachedCodePage() = stored > 0 ? stored : kDefaultAnsiCodePage;
    }
    return *CachedCodePage();
}

void SetAnsiCodePage(int codePage)
{
    CachedCodePage() = codePage > 0 ? codePage : kDefaultAnsiCodePage;
}

QString DecodeCodePage(const QByteArray &bytes, int codePage, bool *ok)
{
    QByteArray utf16;
    const bool converted = Convert("UTF-16LE", IconvName(codePage).constData(), bytes, &utf16);
    if (ok)
        *ok = converted;
    if (!converted)
        return {};
    return QString(reinterpret_cast<const QChar *>(utf16.constData()), utf16.size() / 2);
}

QByteArray EncodeCodePage(const QString &text, int codePage, bool *ok)
{
    const QByteArray utf16(reinterpret_cast<const char *>(text.utf16()), text.size() * 2);
    QByteArray narrow;
    const bool converted = Convert(IconvName(codePage).constData(), "UTF-16LE", utf16, &narrow);
    if (ok)
        *ok = converted;
    return converted ? narrow : QByteArray();
}

} // namespace velmora
