#pragma once

#include <QString>
#include <QStringView>
#include <initializer_list>
#include <type_traits>

namespace velmora {

// One argument of a printf-style format: a text or an integer.
class CFormatArg
{
public:
    CFormatArg(const QString &text) : m_text(text), m_isText(true) {}
    CFormatArg(QStringView text) : m_text(text.toString()), m_isText(true) {}
    CFormatArg(const char16_t *text) : m_text(QString::fromUtf16(text)), m_isText(true) {}
    template <typename T, typename = std::enable_if_t<std::is_integral_v<T>>>
    CFormatArg(T value)
        : m_signed(std::is_signed_v<T>)
        , m_wide(sizeof(T) > 4)
        , m_value(std::is_signed_v<T> ? quint64(qint64(value)) : quint64(value))
    {
    }

    bool IsText() const { return m_isText; }
    const QString &Text() const { return m_text; }
    qint64 Signed() const;
    quint64 Unsigned() const;

private:
    QString m_text;
    bool m_isText = false;
    bool m_signed = false;
    bool m_wide = false;
    quint64 m_value = 0;
};

// Formats with the printf rules the run-log and trace lines are written in: %s, %d, %i,
// %u, %x, %X, %c and %%, with flags, width, precision and the length prefixes l, ll, h,
// I64 and I32. Arguments are typed, so a "%" inside an argument is never read as a format,
// and a missing argument formats as nothing instead of reading past the list.
QString FormatText(QStringView format, std::initializer_list<CFormatArg> args);

template <typename... Args>
QString Format(QStringView format, const Args &...args)
{
    return FormatText(format, {CFormatArg(args)...});
}

} // namespace velmora
