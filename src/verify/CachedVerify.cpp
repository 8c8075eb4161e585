#include "verify/CachedVerify.h"

#include "cache/CachedValues.h"
#include "cache/ResultCache.h"

namespace velmora {

SFileFindings VerifyFileThroughCache(const QString &path, CResultCache *cache)
{
    const std::optional<SFileKey> key = cache && cache->Usable() ? ReadFileKey(path) : std::nullopt;
    if (!key)
        return VerifyFile(path);
    if (const std::optional<QByteArray> kept = cache->Find(ECacheKind::Verify, *key)) {
        if (std::optional<SFileFindings> findings = DecodeFindings(*kept))
            return std::move(*findings);
    }
    SFileFindings findings = VerifyFile(path);
    if (findings.bRead && StillSameReadableFile(*key))
        cache->Store(ECacheKind::Verify, *key, EncodeFindings(findings));
    return findings;
}

} // namespace velmora
