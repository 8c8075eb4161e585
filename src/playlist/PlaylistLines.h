#pragma once

#include <QString>

#include <functional>

namespace velmora {

// Line rules shared by every text playlist layout.

// A line whose first character after leading blanks is ";".
bool IsCommentLine(const QString &line);
// A line that is not a comment and is longer than three characters.
bool IsDataLine(const QString &line);
// The text without the blanks (spaces and tabs) at its end.
void ChopTrailingBlanks(QString &text);

// Where the song lines of a playlist go; false stops the reading (the target failed).
using SongLineSink = std::function<bool(const QString &line)>;

// How reading a playlist ended.
enum class EPlaylistOutcome {
    Songs,          // song lines were delivered (possibly none)
    Naming,         // a naming file: it holds no songs
    InvalidUnicode, // a Unicode source without a usable header
    InvalidAnsi,    // an 8-bit source that matches no layout
    SinkFailed,     // the target of the lines could not take them
};

} // namespace velmora
