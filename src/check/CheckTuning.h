#pragma once

#include <QString>

namespace velmora {

// Where the media-details check gets its media reports: the outside tool, one process per
// file (the designed way), or the library inside this process (the same report, faster).
enum class EReportEngine { Tool, Library };

// How a check does its per-file work. Any choice gives the same rows and run logs.
struct SCheckTuning
{
    EReportEngine engine = EReportEngine::Tool;
    int nJobs = 1; // worker threads that read files ahead of the check
};

// The tuning stored in the settings ("Check/Engine": tool or library, "Check/Jobs").
SCheckTuning LoadCheckTuning();
void StoreCheckTuning(const SCheckTuning &tuning);
// "tool" / "library"; nullopt-like false in *ok for anything else.
EReportEngine EngineNamed(const QString &name, bool *ok);

constexpr int kMaxJobs = 64;

} // namespace velmora
