#pragma once

#include <QString>

namespace velmora {

// Where the media-details check gets its media reports: the outside tool, one process per
// file (the original way), the library inside this process (the same report, many times
// faster), or, unless the user chose, the library whenever it gives the tool's reports.
enum class EReportEngine { Tool, Library, Fastest };

constexpr int kMaxJobs = 64;

// As many jobs as the machine has cores.
int DefaultJobs();

// How a check does its per-file work. Any choice gives the same rows and run logs.
struct SCheckTuning
{
    EReportEngine engine = EReportEngine::Fastest;
    int nJobs = DefaultJobs(); // worker threads that read files ahead of the check
    bool bUseCache = true;     // take unchanged files' results from the results cache
};

// The tuning stored in the settings ("Check/Engine": tool or library, unset for the fastest;
// "Check/Jobs", unset for one per core; "Check/Cache", false turns the results cache off).
SCheckTuning LoadCheckTuning();
void StoreCheckTuning(const SCheckTuning &tuning);
// Stores "Check/Cache" alone.
void StoreResultsCacheSetting(bool use);
// "tool" / "library"; false in *ok for anything else.
EReportEngine EngineNamed(const QString &name, bool *ok);

} // namespace velmora
