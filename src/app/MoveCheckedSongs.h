#pragma once

#include <QList>
#include <QString>
#include <functional>

namespace velmora {

class CDirItemList;
class IFileSystem;

// Asks for the target folder; empty means cancelled (or a choice without a file-system path).
class IFolderPicker
{
public:
    virtual ~IFolderPicker() = default;
    virtual QString PickTargetFolder() = 0;
};

struct SMoveOptions
{
    // Plans the moves and asks the questions, but writes no run-log line and changes nothing.
    bool bDryRun = false;
    IFileSystem *fileSystem = nullptr; // null: the local file system
    // Hears of each ticked row before it moves: rows begun so far (from 1), of all ticked
    // rows, and the row's file name.
    std::function<void(int done, int total, const QString &name)> progress;
};

struct SPlannedMove
{
    int nRow = -1;
    QString strSource;
    QString strTarget;
    bool bReplaces = false; // the user agreed to replace an existing target
};

struct SMoveSummary
{
    bool bStarted = false;            // a target folder was chosen and the moves ran
    QString strTargetFolder;
    int nChecked = 0;
    QList<SPlannedMove> moved;        // in a dry run: the moves that would be made
    QList<SPlannedMove> kept;         // existing targets the user chose to keep
    QList<SPlannedMove> failed;
    bool bStopped = false;            // the user stopped the Move between two files
    QStringList failureReasons;       // one per failed move
};

// Why a ticked file stays where it is when a file of its name already went to the target
// folder in the same Move: a Move never replaces what it has moved itself.
inline constexpr char16_t kMovedHereReason[] = u"a file of this name was moved there by this Move";

// The Move command over the result list: the "No match file or No check box !" message and
// the Yes/No/Cancel overwrite question through MessagePrompt(), the log lines, the moves,
// cleared ticks and row redraws (CDirItemList::RedrawRow).
void MoveCheckedSongs(CDirItemList &list, IFolderPicker &picker);
SMoveSummary MoveCheckedSongs(CDirItemList &list, IFolderPicker &picker, const SMoveOptions &options);

// The file of a row in the target folder: folder + "/" + the first name of the row's names.
QString MoveTargetPath(const QString &folder, const QString &fileNames);

} // namespace velmora
