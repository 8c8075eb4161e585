#pragma once

#include <QByteArrayView>
#include <QString>

#include <functional>

namespace velmora {

// Everything a check of a folder tree can learn without reading a file's bytes, as one
// stream of bytes: every folder (links followed, each reached once), and for each entry its
// name, type, permissions, size, modification and change times and inode, or why it could
// not be read. Folders are taken in the byte order of their names, so two walks of an
// unchanged tree give the same stream, and any change a check could see gives another.
struct STreeDescription
{
    qint64 nEntries = 0;
    // The latest modification or change time of any entry, in nanoseconds since 1970.
    qint64 nNewestNs = 0;
    bool bComplete = false; // false when the walk was stopped
};

using DescriptionSink = std::function<void(QByteArrayView chunk)>;
// Asked before each folder with the entries described so far (for a progress line); true
// stops the walk.
using WalkStopCheck = std::function<bool(qint64 entries)>;

// Walks the tree below folder and hands the stream to sink in chunks. Once stopRequested
// says so, no further folder is read and the description is incomplete.
STreeDescription DescribeTree(const QString &folder, const DescriptionSink &sink,
                              const WalkStopCheck &stopRequested = {});

} // namespace velmora
