#pragma once

#include "verify/Quarantine.h"

#include <QByteArray>
#include <optional>

namespace velmora {

// The manifest of one quarantine: where the files came from and went to, as JSON.
struct SQuarantineManifest
{
    QString strFolder;  // the checked folder
    QString strTarget;  // the quarantine folder
    QString strCreated; // UTC, ISO 8601
    QList<SQuarantineMove> moves;
};

QByteArray ManifestJson(const SQuarantineManifest &manifest);
// nullopt when the bytes are no quarantine manifest of this program; *error says why.
std::optional<SQuarantineManifest> ParseManifest(const QByteArray &json, QString *error);

// Manifests larger than this are refused unread.
inline constexpr qint64 kMaxManifestSize = 64 * 1024 * 1024;

} // namespace velmora
