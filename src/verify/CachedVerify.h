#pragma once

#include "verify/FileVerify.h"

namespace velmora {

class CResultCache;

// The findings of a file: from the cache when it holds the file unchanged, else read now and
// kept there (unless the file could not be read whole, which may pass). Without a cache,
// VerifyFile. Safe from any thread.
SFileFindings VerifyFileThroughCache(const QString &path, CResultCache *cache);

} // namespace velmora
