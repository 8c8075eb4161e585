#include "check/CheckTuning.h"

#include "platform/Settings.h"

#include <QSettings>

namespace velmora {

using namespace Qt::Literals::StringLiterals;

EReportEngine EngineNamed(const QString &name, bool *ok)
{
    *ok = name == u"tool"_s || name == u"library"_s;
    return name == u"library"_s ? EReportEngine::Library : EReportEngine::Tool;
}

SCheckTuning LoadCheckTuning()
{
    const auto settings = OpenSettings();
    SCheckTuning tuning;
    bool ok = false;
    const EReportEngine engine = EngineNamed(settings->value(u"Check/Engine"_s, u"tool"_s).toString(), &ok);
    tuning.engine = ok ? engine : EReportEngine::Tool;
    tuning.nJobs = std::clamp(settings->value(u"Check/Jobs"_s, 1).toInt(), 1, kMaxJobs);
    return tuning;
}

void StoreCheckTuning(const SCheckTuning &tuning)
{
    const auto settings = OpenSettings();
    settings->setValue(u"Check/Engine"_s, tuning.engine == EReportEngine::Library ? u"library"_s : u"tool"_s);
    settings->setValue(u"Check/Jobs"_s, tuning.nJobs);
}

} // namespace velmora
