#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>

#include <optional>

namespace velmora {

// While the updater replaces the program's files, a journal in the program folder lists what
// it is about to change, so that an install cut short (the updater killed, the machine off)
// can be undone: by the updater when it starts again, or by the program at its start. Until
// the journal is gone, nothing counts as installed.

// The journal's file name in the program folder.
inline constexpr char16_t kUpdateJournalName[] = u".velmora-update.journal";

// One file of an install, by paths relative to the program folder: the new file waits under
// strStage; the old one (when there was one) gets the second name strBackup while the new
// one is renamed over strTarget.
struct SJournalEntry
{
    QString strTarget;
    QString strStage;
    QString strBackup; // empty when the target did not exist before
};

struct SUpdateJournal
{
    QList<SJournalEntry> entries;
    // The closing line was written: every stage file was complete before anything changed.
    bool bComplete = false;
    // Every new file is in place; what is left to do is removing the old ones.
    bool bDone = false;
};

// Journals are small; a longer file is not read.
constexpr qsizetype kMaxJournalBytes = 1 << 20;

QByteArray JournalText(const SUpdateJournal &journal);
// nullopt when the text is not a journal. A journal cut short keeps its whole lines; every
// path is relative and stays below the program folder.
std::optional<SUpdateJournal> ParseJournal(QByteArrayView text);

// The journal of one install, locked from its first byte until the install ends, so that no
// start of the program takes a running install for an interrupted one. It is first written
// under a pending name, an entry before each stage file is made, so that even an install
// stopped while it copies leaves no stray file that nothing knows of.
class CUpdateJournalFile
{
public:
    explicit CUpdateJournalFile(QString folder);
    ~CUpdateJournalFile(); // drops the lock; the journal stays unless Finish ran
    CUpdateJournalFile(const CUpdateJournalFile &) = delete;
    CUpdateJournalFile &operator=(const CUpdateJournalFile &) = delete;

    // Starts the pending journal.
    bool Begin();
    // Notes a file of the install before its stage file is made.
    bool Add(const SJournalEntry &entry);
    // Every stage file is complete: the journal takes its own name, durably. From here on an
    // interrupted install is undone.
    bool Seal();
    // Every new file is in place: from here on an interrupted install is finished.
    bool MarkDone();
    // Removes the journal, sealed or pending, and drops the lock.
    bool Finish();

    const SUpdateJournal &Journal() const { return m_journal; }

private:
    bool Append(const QByteArray &text);

    QString m_strFolder;
    int m_handle = -1;
    bool m_bSealed = false;
    SUpdateJournal m_journal;
};

// Undoes what an interrupted install left in folder: every target that was replaced gets
// its old file back, every new file goes, and so does the journal. An install that had put
// every new file in place is finished instead (its old files go). True when nothing is left
// to do; false when the journal cannot be read or changed, or when an install is running
// now (it holds the journal's lock).
bool RecoverInterruptedUpdate(const QString &folder, QString *error = nullptr);

// The undo for an install that failed on its way, while its journal is still locked: every
// stage file goes, every replaced target gets its old file back.
bool UndoInstall(const QString &folder, const SUpdateJournal &journal);

} // namespace velmora
