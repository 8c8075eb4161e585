#include "check/NoCaseKey.h"

#include <algorithm>

namespace velmora {

namespace {

bool HasSurrogates(const QString &text)
{
    return std::any_of(text.cbegin(), text.cend(), [](QChar c) { return c.isSurrogate(); });
}

} // namespace

// Only one form is kept: a sort holds a key for every row at once.
CNoCaseKey::CNoCaseKey(QString text)
    : m_bSurrogates(HasSurrogates(text))
{
    m_text = m_bSurrogates ? std::move(text) : std::move(text).toCaseFolded();
}

int CNoCaseKey::Compare(const CNoCaseKey &other) const
{
    // Folding a folded text again changes nothing, so a folded key still compares right
    // against one kept as it was.
    if (m_bSurrogates || other.m_bSurrogates)
        return m_text.compare(other.m_text, Qt::CaseInsensitive);
    return m_text.compare(other.m_text, Qt::CaseSensitive);
}

} // namespace velmora
