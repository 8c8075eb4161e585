#pragma once

#include <QByteArray>

namespace velmora {

// Turns the stored content of an NCG file (the bytes after its 32-byte header) back into
// plain graphics, in place. False when the content cannot be restored.
bool RestoreNcgContent(QByteArray &content);

} // namespace velmora
