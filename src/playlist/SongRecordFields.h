#pragma once

#include "base/ItemInfo.h"

#include <QString>

namespace velmora {

// The settings field of a song record: up to nine integers in square brackets, a memo in
// round brackets and a customer text, e.g. "[50,0,0,1,0,-9,0,0,185](Birthday)Bar 12".
// The integers fill anSettings (slots 0 to 5 keep their low 8 bits sign-extended, slots 6
// to 8 their low 16 bits) and slot 8 is also nDuration; the memo goes to szMemo and a
// customer text that is not empty replaces szType.
void ParseSettings(const QString &field, _ITEMINFO &item);

// The track text "track-genre-year", e.g. "3-Pop-1999"; nothing changes without a "-".
// Without a second "-" the number after the first is the year ("3-1999").
void DecodeTrackText(const QString &text, _ITEMINFO &item);

} // namespace velmora
