#pragma once

#include <QByteArray>
#include <QString>

namespace velmora {

// Whether the file holds karaoke graphics; on success the decoded instruction records.
bool LoadKaraokeGraphics(const QString &path, QByteArray *records = nullptr);

} // namespace velmora
