#include "rescan/CheckReplay.h"

#include "base/RunLogs.h"
#include "base/TraceDebug.h"
#include "cache/CacheContext.h"
#include "cache/FileKey.h"
#include "cache/ResultCache.h"
#include "platform/OpenFile.h"
#include "rescan/ZlibStreams.h"

#include <QRandomGenerator>

#include <xxhash.h>

#include <ctime>
#include <future>
#include <memory>

namespace velmora {

using namespace Qt::Literals::StringLiterals;

namespace {

// Changes whenever what is kept of a check, or how it is compared, changes.
constexpr int kReplayFormat = 1;
constexpr qint64 kFileChunkBytes = 1 << 20;

qint64 NowNs()
{
    timespec now {};
    ::clock_gettime(CLOCK_REALTIME, &now);
    return qint64(now.tv_sec) * 1000000000 + now.tv_nsec;
}

std::optional<QByteArray> UnpackWhole(const SPackedBytes &part)
{
    if (part.nSize > CCheckReplay::kMaxPartBytes)
        return std::nullopt;
    QByteArray bytes;
    bytes.reserve(part.nSize);
    const bool whole = InflateChunks(part.packed, part.nSize, [&bytes](QByteArrayView chunk) {
        bytes.append(chunk);
        return true;
    });
    return whole ? std::optional<QByteArray>(std::move(bytes)) : std::nullopt;
}

SPackedBytes Pack(QByteArrayView bytes)
{
    CDeflater deflater;
    deflater.Add(bytes);
    return SPackedBytes{deflater.Finish(), qint64(bytes.size())};
}

// A run log as this run wrote it; nullopt when it cannot be read or is too large to keep.
std::optional<SPackedBytes> PackFile(const QString &path)
{
    const auto file = OpenFileForRead(path);
    if (!file || file->size() > CCheckReplay::kMaxPartBytes)
        return std::nullopt;
    CDeflater deflater;
    while (!file->atEnd()) {
        const QByteArray chunk = file->read(kFileChunkBytes);
        if (chunk.isEmpty())
            return std::nullopt;
        deflater.Add(chunk);
    }
    if (deflater.BytesIn() > CCheckReplay::kMaxPartBytes)
        return std::nullopt;
    SPackedBytes packed{deflater.Finish(), deflater.BytesIn()};
    if (packed.packed.isEmpty())
        return std::nullopt;
    return packed;
}

// The 128-bit digest of a description, with a seed of this run so that no tree can be made
// to match another's digest.
class CDigestSink
{
public:
    explicit CDigestSink(quint64 seed) : m_state(XXH3_createState(), &XXH3_freeState)
    {
        XXH3_128bits_reset_withSeed(m_state.get(), seed);
    }
    void Add(QByteArrayView chunk) { XXH3_128bits_update(m_state.get(), chunk.data(), size_t(chunk.size())); }
    XXH128_hash_t Digest() const { return XXH3_128bits_digest(m_state.get()); }

private:
    std::unique_ptr<XXH3_state_t, XXH_errorcode (*)(XXH3_state_t *)> m_state;
};

// Compares the description as it comes with the kept one.
class CComparison
{
public:
    explicit CComparison(std::optional<QByteArray> kept) : m_kept(std::move(kept)) {}
    void Add(QByteArrayView chunk)
    {
        if (!m_bSame || !m_kept)
            return;
        m_bSame = chunk.size() <= m_kept->size() - m_nOffset
            && QByteArrayView(*m_kept).sliced(m_nOffset, chunk.size()) == chunk;
        m_nOffset += chunk.size();
    }
    bool SameToTheEnd() const { return m_kept && m_bSame && m_nOffset == m_kept->size(); }

private:
    std::optional<QByteArray> m_kept;
    qsizetype m_nOffset = 0;
    bool m_bSame = true;
};

} // namespace

QString CheckReplayKey(bool songs, const QString &folder, const QString &printing, EReportEngine engine)
{
    const QString context = songs ? SongFileContext()
                                  : u"engine %1; %2; %3"_s.arg(int(engine))
                                        .arg(MediaDetailsContext(EReportEngine::Library),
                                             MediaDetailsContext(EReportEngine::Tool));
    return u"whole check %1; %2 of %3; printed as %4; %5"_s.arg(kReplayFormat)
        .arg(songs ? u"songs"_s : u"media details"_s, folder, printing, context);
}

CCheckReplay::CCheckReplay(CResultCache &cache, QString key, QString folder)
    : m_store(cache), m_key(std::move(key)), m_folder(std::move(folder))
{
}

bool CCheckReplay::FindUnchanged(const std::function<bool()> &stopRequested)
{
    m_stored = m_store.Find(m_key);
    m_nSeed = QRandomGenerator::system()->generate64();
    CDigestSink digest(m_nSeed);
    CComparison comparison(m_stored ? UnpackWhole(m_stored->tree) : std::nullopt);
    m_nFirstWalkStartNs = NowNs();
    m_firstWalk = DescribeTree(m_folder, [&](QByteArrayView chunk) {
        digest.Add(chunk);
        comparison.Add(chunk);
    }, stopRequested);
    const XXH128_hash_t hash = digest.Digest();
    m_firstDigest = SDigest{hash.low64, hash.high64, m_firstWalk.nEntries};
    if (!m_firstWalk.bComplete || !comparison.SameToTheEnd())
        return false;
    std::optional<QByteArray> rows = UnpackWhole(m_stored->rows);
    if (!rows) {
        TraceDebug(u"results cache: the rows of the check kept for %s do not read back\n", m_folder);
        return false;
    }
    m_rows = std::move(*rows);
    return true;
}

bool CCheckReplay::WriteLogs(CRunLogs &logs) const
{
    if (!m_stored)
        return false;
    const auto writeInto = [&logs](CRunLogs::ELogFile file) {
        return [&logs, file](QByteArrayView chunk) { return logs.WriteFileBytes(file, chunk); };
    };
    return InflateChunks(m_stored->directoryLog.packed, m_stored->directoryLog.nSize,
                         writeInto(CRunLogs::ELogFile::Directory))
        && InflateChunks(m_stored->errorLog.packed, m_stored->errorLog.nSize, writeInto(CRunLogs::ELogFile::Error));
}

bool CCheckReplay::SettledBefore(qint64 walkStartNs) const
{
    return m_firstWalk.nNewestNs < walkStartNs - qint64(kSettledSeconds) * 1000000000;
}

bool CCheckReplay::Keep(const QByteArray &rows, int exitStatus, const QString &directoryLog,
                        const QString &errorLog, const std::function<bool()> &stopRequested)
{
    if (!m_firstWalk.bComplete || !SettledBefore(m_nFirstWalkStartNs))
        return false;
    // The rows and logs are packed while the tree is described again: on two cores the
    // keeping then costs about one of the two.
    auto packed = std::async(std::launch::async, [&] {
        SStoredCheck check;
        check.rows = Pack(rows);
        check.directoryLog = PackFile(directoryLog).value_or(SPackedBytes{});
        check.errorLog = PackFile(errorLog).value_or(SPackedBytes{});
        check.nExitStatus = exitStatus;
        return check;
    });
    CDigestSink digest(m_nSeed);
    CDeflater tree;
    const STreeDescription again = DescribeTree(m_folder, [&](QByteArrayView chunk) {
        digest.Add(chunk);
        tree.Add(chunk);
    }, stopRequested);
    SStoredCheck check = packed.get();
    const XXH128_hash_t hash = digest.Digest();
    if (!again.bComplete || SDigest{hash.low64, hash.high64, again.nEntries} != m_firstDigest) {
        TraceDebug(u"results cache: %s changed during the check; the check is not kept whole\n", m_folder);
        return false;
    }
    check.tree = SPackedBytes{tree.Finish(), tree.BytesIn()};
    for (const SPackedBytes *part : {&check.tree, &check.rows, &check.directoryLog, &check.errorLog}) {
        if (part->packed.isEmpty())
            return false;
    }
    return m_store.Keep(m_key, check);
}

} // namespace velmora
