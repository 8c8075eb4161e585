#pragma once

#include <QStringView>

namespace velmora {

// The leading decimal integer of a text, read the way the C library's atoi reads it:
// leading blanks, an optional sign, then digits; 0 when there are none. Saturates
// instead of overflowing.
int LeadingInteger(QStringView text);

} // namespace velmora
