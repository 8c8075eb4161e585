#pragma once

#include <QString>

namespace velmora {

enum class EColumnAlign { Left, Centre, Right };

// The fixed table of the grid's columns: header text, default width in pixels, alignment.
struct SRevColumn
{
    const char16_t *szHeader;
    int nDefaultWidth;
    EColumnAlign align;
};

inline constexpr int kRevColumnCount = 20;
inline constexpr int kRevIndexColumn = 1;
inline constexpr int kRevFoundColumn = 9;      // Volume: sorts by the found check
inline constexpr int kRevFileNameColumn = 18;
// Auto size fits every column with a header, not only the texts of Title to Year: the
// settings columns' headers ("Volume", "Silence", "Off time") are wider than their defaults.
inline constexpr int kRevFirstAutoSized = 1;
inline constexpr int kRevLastAutoSized = kRevColumnCount - 1;

const SRevColumn &RevColumn(int column);

} // namespace velmora
