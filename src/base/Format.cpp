#include "base/Format.h"


namespace velmora {

qint64 CFormatArg::Signed() const
{
    if (m_isText)
        return m_text.toLongLong();
    return (m_wide || m_signed) ? qint64(m_value) : qint64(quint32(m_value));
}

quint64 CFormatArg::Unsigned() const
{
    if (m_isText)
        return m_text.toULongLong();
    // Narrow arguments print as 32-bit values, as a C library would print an int.
    return m_wide ? m_value : quint64(quint32(m_value));
}

namespace {

struct SConversionSpecifier
{
    bool leftAlign = false;
    bool zeroPad = false;
    bool plusSign = false;
    int width = 0;
    int precision = -1;
    QChar conversion;
};

class CFormatter
{
public:
    CFormatter(QStringView format, std::initializer_list<CFormatArg> args)
        : m_format(format), m_args(args)
    {
    }

    QString Run()
    {
        QString out;
        out.reserve(m_format.size() + 32);
        while (m_pos < m_format.size()) {
            const QChar c = m_format.at(m_pos++);
            if (c != u'%' || m_pos >= m_format.size()) {
                out.append(c);
                continue;
            }
            const qsizetype start = m_pos - 1;
            SConversionSpecifier conv;
            if (!ReadConversion(conv)) {
                out.append(m_format.mid(start, m_pos - start));
                continue;
            }
            out.append(Convert(conv));
        }
        return out;
    }

private:
    int ReadNumber()
    {
        int value = 0;
        while (m_pos < m_format.size() && m_format.at(m_pos).isDigit() && value < 100000)
            value = value * 10 + m_format.at(m_pos++).digitValue();
        return value;
    }

    bool Accept(QStringView text)
    {
        if (m_format.mid(m_pos).startsWith(text)) {
            m_pos += text.size();
            return true;
        }
        return false;
    }

    bool ReadConversion(SConversionSpecifier &conv)
    {
        for (; m_pos < m_format.size(); ++m_pos) {
            const QChar flag = m_format.at(m_pos);
            if (flag == u'-') conv.leftAlign = true;
            else if (flag == u'0') conv.zeroPad = true;
            else if (flag == u'+') conv.plusSign = true;
            else if (flag != u' ' && flag != u'#') break;
        }
        conv.width = ReadNumber();
        if (Accept(u".")) conv.precision = ReadNumber();
        if (!Accept(u"I64") && !Accept(u"I32") && !Accept(u"ll") && !Accept(u"hh"))
            Accept(u"l") || Accept(u"h") || Accept(u"w");
        if (m_pos >= m_format.size())
            return false;
        conv.conversion = m_format.at(m_pos++);
        return QStringView(u"sSdiuxXc%").contains(conv.conversion);
    }

    const CFormatArg *NextArg()
    {
        if (m_next >= m_args.size())
            return nullptr;
        return m_args.begin() + m_next++;
    }

    QString Convert(const SConversionSpecifier &conv)
    {
        if (conv.conversion == u'%')
            return QStringLiteral("%");
        const CFormatArg *arg = NextArg();
        QString text;
        bool numeric = true;
        if (arg)
            text = Body(conv, *arg, &numeric);
        return Pad(conv, text, numeric);
    }

    static QString Body(const SConversionSpecifier &conv, const CFormatArg &arg, bool *numeric)
    {
        const char16_t conversion = conv.conversion.unicode();
        switch (conversion) {
        case u's':
        case u'S': {
            *numeric = false;
            const QString text = arg.IsText() ? arg.Text() : QString::number(arg.Signed());
            return conv.precision >= 0 ? text.left(conv.precision) : text;
        }
        case u'c':
            *numeric = false;
            return arg.IsText() ? arg.Text().left(1) : QString(QChar(char16_t(arg.Unsigned())));
        case u'u':
            return QString::number(arg.Unsigned());
        case u'x':
            return QString::number(arg.Unsigned(), 16);
        case u'X':
            return QString::number(arg.Unsigned(), 16).toUpper();
        default: {
            const qint64 value = arg.Signed();
            QString text = QString::number(value);
            if (conv.plusSign && value >= 0)
                text.prepend(u'+');
            return text;
        }
        }
    }

    static QString Pad(const SConversionSpecifier &conv, const QString &text, bool numeric)
    {
        if (text.size() >= conv.width)
            return text;
        const qsizetype missing = conv.width - text.size();
        if (conv.leftAlign)
            return text + QString(missing, u' ');
        if (conv.zeroPad && numeric) {
            const bool sign = text.startsWith(u'-') || text.startsWith(u'+');
            return sign ? text.left(1) + QString(missing, u'0') + text.mid(1)
                        : QString(missing, u'0') + text;
        }
        return QString(missing, u' ') + text;
    }

    QStringView m_format;
    std::initializer_list<CFormatArg> m_args;
    qsizetype m_pos = 0;
    size_t m_next = 0;
};

} // namespace

QString FormatText(QStringView format, std::initializer_list<CFormatArg> args)
{
    return CFormatter(format, args).Run();
}

} // namespace velmora
