#include "verify/ContentHash.h"

#include <xxhash.h>

namespace velmora {

struct CContentHash::SState
{
    XXH3_state_t *state = XXH3_createState();
    ~SState() { XXH3_freeState(state); }
};

CContentHash::CContentHash() : m_state(std::make_unique<SState>())
{
    XXH3_128bits_reset(m_state->state);
}

CContentHash::~CContentHash() = default;

void CContentHash::Add(QByteArrayView bytes)
{
    if (bytes.isEmpty())
        return;
    XXH3_128bits_update(m_state->state, bytes.data(), size_t(bytes.size()));
    m_count += bytes.size();
}

QByteArray CContentHash::Digest() const
{
    XXH128_canonical_t canonical;
    XXH128_canonicalFromHash(&canonical, XXH3_128bits_digest(m_state->state));
    return QByteArray(reinterpret_cast<const char *>(canonical.digest), sizeof canonical.digest);
}

} // namespace velmora
