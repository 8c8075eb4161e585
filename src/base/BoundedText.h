#pragma once

#include <QString>
#include <algorithm>
#include <QStringView>

namespace velmora {

// A text field of a song item with a fixed capacity in UTF-16 units, terminator included,
// as the record was laid out. Longer texts are cut to capacity - 1 units (never in the
// middle of a surrogate pair), so the limits stay rules while a row only holds what it uses.
template <qsizetype Capacity>
class CBoundedText
{
public:
    static constexpr qsizetype kMaxLength = Capacity - 1;

    CBoundedText() = default;
    CBoundedText(QStringView text) { Set(text); }
    CBoundedText &operator=(QStringView text)
    {
        Set(text);
        return *this;
    }
    // A text that fits is shared, not copied: rows take their names and paths from strings
    // the walk has built anyway.
    CBoundedText &operator=(const QString &text)
    {
        if (text.size() <= kMaxLength)
            m_text = text;
        else
            Set(text);
        return *this;
    }

    void Set(QStringView text)
    {
        qsizetype length = std::min(text.size(), kMaxLength);
        if (length < text.size() && length > 0 && text.at(length - 1).isHighSurrogate())
            --length;
        m_text = text.left(length).toString();
    }
    void Clear() { m_text.clear(); }

    const QString &Text() const { return m_text; }
    operator const QString &() const { return m_text; }
    bool IsEmpty() const { return m_text.isEmpty(); }

private:
    QString m_text;
};

} // namespace velmora
