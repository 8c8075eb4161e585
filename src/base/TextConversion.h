#pragma once

#include <QByteArray>
#include <QString>

namespace velmora {

// Narrow text to wide and back, in a code page (kAnsiCodePage for the configured ANSI code
// page, 65001 for UTF-8). Except for UTF-8, text coming in is composed (NFC), and on the way
// out characters the code page cannot hold become "#".
QString ToWide(int codePage, const QByteArray &bytes);
QByteArray ToNarrow(int codePage, const QString &text);

} // namespace velmora
