#pragma once

#include <QString>

namespace velmora {

class IFileSystem;

enum class EMoveOutcome {
    Moved,      // the file is at the target path and no longer at the source path
    Failed,     // nothing changed, at worst a stray temporary file in the target folder
    SourceKept, // a complete copy is at the target path, but the source could not be removed
};

struct SMoveResult
{
    EMoveOutcome outcome = EMoveOutcome::Failed;
    QString strReason;         // why it failed, in a few lower-case words
    bool bCopied = false;      // the file went to another file system by copying

    bool IsMoved() const { return outcome == EMoveOutcome::Moved; }
};

// Moves one regular file to a full target path. On one file system a rename does it; across
// file systems the file is copied, with its mode bits and times, to a temporary name in the
// target folder, flushed to disk, renamed over the target and only then removed at its
// source. An existing target is replaced only when replace is true, and only by a complete
// copy.
SMoveResult MoveFileTo(IFileSystem &fileSystem, const QString &source, const QString &target, bool replace);

// True when both paths name the same file (also through a link or a second hard link).
bool IsSameFile(IFileSystem &fileSystem, const QString &first, const QString &second);

// The temporary name a copy to target is written under; the same for every try, so the next
// move of the same file replaces what an interrupted one left.
QString MoveTemporaryPath(const QString &target);

// A few words for an errno value, as the move reports it.
QString MoveErrorText(int error);

} // namespace velmora
