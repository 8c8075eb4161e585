#pragma once

#include "verify/VerifyReason.h"

#include <QColor>
#include <QIcon>
#include <QString>

namespace velmora::verdictcells {

// The Verdict column of the result list: its header, and per row a coloured mark beside the
// verdict's name, the reasons in the row's tooltip.
inline constexpr char16_t kHeader[] = u"Verdict";

QColor MarkColour(EVerdict verdict);
QIcon Mark(EVerdict verdict);
// One line per reason ("broken audio-damaged: song.mp3: ..."); empty without reasons.
QString ReasonsText(const SSongVerdict &verdict);

} // namespace velmora::verdictcells
