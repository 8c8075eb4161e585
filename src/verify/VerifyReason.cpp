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

} // namespace velmora
