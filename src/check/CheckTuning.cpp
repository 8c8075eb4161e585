#include "check/CheckTuning.h"

#include "platform/Settings.h"

#include <QSettings>
#include <QThread>

namespace velmora {

using namespace Qt::Literals::StringLiterals;

namespace {
const QString kEngineKey = u"Check/Engine"_s;
const QString kJobsKey = u"Check/Jobs"_s;
const QString kCacheKey = u"Check/Cache"_s;
}

int DefaultJobs()
{
    return std::clamp(QThread::idealThreadCount(), 1, kMaxJobs);
}

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
    const EReportEngine engine = EngineNamed(settings->value(kEngineKey).toString(), &ok);
    tuning.engine = ok ? engine : EReportEngine::Fastest;
    tuning.nJobs = std::clamp(settings->value(kJobsKey, DefaultJobs()).toInt(), 1, kMaxJobs);
    tuning.bUseCache = settings->value(kCacheKey, true).toBool();
    return tuning;
}

void StoreCheckTuning(const SCheckTuning &tuning)
{
    const auto settings = OpenSettings();
    if (tuning.engine == EReportEngine::Fastest)
        settings->remove(kEngineKey);
    else
        settings->setValue(kEngineKey, tuning.engine == EReportEngine::Library ? u"library"_s : u"tool"_s);
    settings->setValue(kJobsKey, tuning.nJobs);
    StoreResultsCacheSetting(tuning.bUseCache);
}

void StoreResultsCacheSetting(bool use)
{
    OpenSettings()->setValue(kCacheKey, use);
}

} // namespace velmora
