#include "rescan/CheckReplay.h"

#include "base/RunLogs.h"
#include "base/TraceDebug.h"
#include "cache/CacheContext.h"
#include "cache/FileKey.h"
#include "cache/ResultCache.h"
#include "platform/OpenFile.h"
#include "rescan/PackedStreams.h"

#include <algorithm>
#include <future>
#include <utility>

namespace velmora {

using namespace Qt::Literals::StringLiterals;

namespace {

// Changes whenever what is kept of a check, or how it is compared, changes.
constexpr int kReplayFormat = 1;
constexpr qint64 kFileChunkBytes = 1 << 20;

std::optional<QByteArray> UnpackWhole(const SPackedBytes &part)
{
    if (part.nSize > CCheckReplay::kMaxPartBytes)
        return std::nullopt;
    // The size said is believed for room up to a limit only: a damaged row could claim
    // a gigabyte for a few packed bytes.
    constexpr qint64 kReservedAtMost = qint64(64) << 20;
    QByteArray bytes;
    bytes.reserve(std::min(part.nSize, kReservedAtMost));
    const bool whole = UnpackChunks(part.packed, part.nSize, [&bytes](QByteArrayView chunk) {
        bytes.append(chunk);
        return true;
    });
    return whole ? std::optional<QByteArray>(std::move(bytes)) : std::nullopt;
}

SPackedBytes Pack(QByteArrayView bytes)
{
    CPacker packer;
    packer.Add(bytes);
    return SPackedBytes{packer.Finish(), qint64(bytes.size())};
}

// A run log as this run wrote it; nullopt when it cannot be read or is too large to keep.
std::optional<SPackedBytes> PackFile(const QString &path)
{
    const auto file = OpenFileForRead(path);
    if (!file || file->size() > CCheckReplay::kMaxPartBytes)
        return std::nullopt;
    CPacker packer;
    while (!file->atEnd()) {
        const QByteArray chunk = file->read(kFileChunkBytes);
        if (chunk.isEmpty())
            return std::nullopt;
        packer.Add(chunk);
    }
    if (packer.BytesIn() > CCheckReplay::kMaxPartBytes)
        return std::nullopt;
    SPackedBytes packed{packer.Finish(), packer.BytesIn()};
    if (packed.packed.isEmpty())
        return std::nullopt;
    return packed;
}

// Compares the description as it comes with the kept one, and holds the new description
// once it differs (a check done instead keeps it).
class CComparison
{
public:
    explicit CComparison(std::optional<QByteArray> kept) : m_kept(std::move(kept)), m_bSame(m_kept.has_value()) {}
    void Add(QByteArrayView chunk)
    {
        if (m_bSame && chunk.size() <= m_kept->size() - m_nOffset
            && QByteArrayView(*m_kept).sliced(m_nOffset, chunk.size()) == chunk) {
            m_nOffset += chunk.size();
            return;
        }
        if (m_bSame) {
            m_described = m_kept->left(m_nOffset);
            m_kept.reset();
            m_bSame = false;
        }
        m_described.append(chunk);
    }
    bool SameToTheEnd() const { return m_bSame && m_nOffset == m_kept->size(); }
    QByteArray TakeDescription()
    {
        if (m_bSame) {
            m_kept->truncate(m_nOffset);
            return std::exchange(*m_kept, QByteArray());
        }
        return std::exchange(m_described, QByteArray());
    }

private:
    std::optional<QByteArray> m_kept;
    qsizetype m_nOffset = 0;
    bool m_bSame = false;
    QByteArray m_described;
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

bool CCheckReplay::FindUnchanged(const WalkStopCheck &stopRequested)
{
    m_stored = m_store.Find(m_key);
    CComparison comparison(m_stored ? UnpackWhole(m_stored->tree) : std::nullopt);
    m_nWalkStartNs = NowNanoseconds();
    m_walk = DescribeTree(m_folder, [&comparison](QByteArrayView chunk) { comparison.Add(chunk); }, stopRequested);
    const bool same = m_walk.bComplete && comparison.SameToTheEnd();
    m_description = comparison.TakeDescription();
    if (!same)
        return false;
    m_description.clear(); // it is the kept one, which Keep unpacks again if it must
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
    return UnpackChunks(m_stored->directoryLog.packed, m_stored->directoryLog.nSize,
                         writeInto(CRunLogs::ELogFile::Directory))
        && UnpackChunks(m_stored->errorLog.packed, m_stored->errorLog.nSize, writeInto(CRunLogs::ELogFile::Error));
}

// The check is kept under the description taken before it began. A tree that changed after
// that never describes the same again (every change moves a change time, which only grows,
// and nothing had changed in the two seconds before), so a check that saw a later tree is
// kept under a description no later walk can match.
bool CCheckReplay::Keep(const QByteArray &rows, int exitStatus, const QString &directoryLog, const QString &errorLog)
{
    if (!m_walk.bComplete || !HadSettled(m_walk.nNewestNs, m_nWalkStartNs))
        return false;
    // Empty when the tree was the kept check's own (whose rows or logs did not read back).
    if (m_description.isEmpty() && m_stored)
        m_description = UnpackWhole(m_stored->tree).value_or(QByteArray());
    if (m_description.isEmpty())
        return false;
    // The logs are packed on a second thread while this one packs the rows and description.
    auto logs = std::async(std::launch::async, [&] {
        return std::pair{PackFile(directoryLog), PackFile(errorLog)};
    });
    SStoredCheck check;
    check.tree = Pack(m_description);
    check.rows = Pack(rows);
    check.nExitStatus = exitStatus;
    const auto [directory, errors] = logs.get();
    if (!directory || !errors || check.tree.packed.isEmpty() || check.rows.packed.isEmpty())
        return false;
    check.directoryLog = *directory;
    check.errorLog = *errors;
    return m_store.Keep(m_key, check);
}

} // namespace velmora
