#include "check/NoCaseKey.h"

#include <algorithm>

namespace velmora {

namespace {

bool HasSurrogates(const QString &text)
{
    return std::any_of(text.cbegin(), text.cend(), [](QChar c) { return c.isSurrogate(); });
}

} // namespace

CNoCaseKey::CNoCaseKey(QString text)
    : m_text(std::move(text))
    , m_bSurrogates(HasSurrogates(m_text))
{
    if (!m_bSurrogates)
        m_folded = m_text.toCaseFolded();
}

int CNoCaseKey::Compare(const CNoCaseKey &other) const
{
    if (m_bSurrogates || other.m_bSurrogates)
        return m_text.compare(other.m_text, Qt::CaseInsensitive);
    return m_folded.compare(other.m_folded, Qt::CaseSensitive);
}

} // namespace velmora
