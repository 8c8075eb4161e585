#pragma once

#include <QString>

namespace velmora {

// True when the name's extension, lower-cased, is one of the 19 media types the checker knows.
bool IsKnownMediaFile(const QString &name);

// What a file contributes to a song, by the last four characters of its name.
enum class ESongRole { None, Audio, Companion };
ESongRole SongRoleOf(const QString &name);

} // namespace velmora
