#pragma once

#include <QString>
#include <QStringView>

namespace velmora {

// Columns a terminal gives one code point: 2 for East Asian wide and full-width characters,
// 0 for combining marks, format characters and controls, 1 otherwise. Characters of
// ambiguous width count 1, as terminals show them outside CJK locales.
int CodePointWidth(char32_t codePoint);

// Columns a terminal gives the text; an unpaired surrogate counts 1 (it shows as U+FFFD).
int DisplayWidth(QStringView text);

// The text followed by as many spaces as take it to `width` columns.
QString PadToDisplayWidth(const QString &text, int width);

} // namespace velmora
