#include "verify/VerifyReason.h"

namespace velmora {

using namespace Qt::Literals::StringLiterals;

QString SeverityName(ESeverity severity)
{
    return severity == ESeverity::Broken ? u"broken"_s : u"warning"_s;
}

QString VerdictName(EVerdict verdict)
{
    switch (verdict) {
    case EVerdict::Broken: return u"broken"_s;
    case EVerdict::Warning: return u"warning"_s;
    case EVerdict::Ok: break;
    }
    return u"ok"_s;
}

EVerdict VerdictOf(const QList<SVerifyReason> &reasons)
{
    EVerdict verdict = EVerdict::Ok;
    for (const SVerifyReason &reason : reasons) {
        if (reason.severity == ESeverity::Broken)
            return EVerdict::Broken;
        verdict = EVerdict::Warning;
    }
    return verdict;
}

QString ReasonLine(const SVerifyReason &reason)
{
    const QString name = reason.strPath.mid(reason.strPath.lastIndexOf(u'/') + 1);
    return SeverityName(reason.severity) + u' ' + reason.strCode + u": "_s + name + u": "_s + reason.strText;
}

} // namespace velmora
