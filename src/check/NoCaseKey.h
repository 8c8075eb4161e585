#pragma once

#include <QString>

namespace velmora {

// A text made ready to be compared without regard to case many times over, as a sort does:
// folded once, then compared unit by unit. The order is exactly that of QString::compare
// with Qt::CaseInsensitive; texts holding surrogates (which that compare folds as whole
// code points) are compared by it.
class CNoCaseKey
{
public:
    CNoCaseKey() = default;
    explicit CNoCaseKey(QString text);

    // <0, 0 or >0, as QString::compare(other, Qt::CaseInsensitive).
    int Compare(const CNoCaseKey &other) const;

private:
    QString m_text; // folded, unless it holds surrogates
    bool m_bSurrogates = false;
};

} // namespace velmora
