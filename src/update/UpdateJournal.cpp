#include "update/UpdateJournal.h"

#include "platform/NativeName.h"

#include <QSet>

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace velmora {

using namespace Qt::Literals::StringLiterals;

namespace {

constexpr QByteArrayView kHeader = "velmora update journal 1";
constexpr QByteArrayView kFileTag = "file";
constexpr QByteArrayView kEndTag = "end";
constexpr QByteArrayView kDoneTag = "done";

QString JournalPath(const QString &folder)
{
    return folder + u'/' + QString::fromUtf16(kUpdateJournalName);
}

QString PendingJournalPath(const QString &folder)
{
    return JournalPath(folder) + u".new"_s;
}

QByteArray Native(const QString &path)
{
    return EncodeNativeName(path);
}

bool Exists(const QString &path)
{
    struct stat info {};
    return ::lstat(Native(path).constData(), &info) == 0;
}

// Removing what is already gone is no failure: an undo may run twice.
bool RemoveIfThere(const QString &path)
{
    return ::unlink(Native(path).constData()) == 0 || errno == ENOENT;
}

void SyncFolder(const QString &folder)
{
    const int handle = ::open(Native(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (handle >= 0) {
        ::fsync(handle);
        ::close(handle);
    }
}

bool WriteAll(int handle, const QByteArray &bytes)
{
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t written = ::write(handle, bytes.constData() + done, size_t(bytes.size() - done));
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return false;
        done += written;
    }
    return true;
}

// A path of plain steps below the program folder.
bool IsConfined(const QString &path)
{
    if (path.isEmpty() || path.startsWith(u'/'))
        return false;
    for (const QString &step : path.split(u'/')) {
        if (step.isEmpty() || step == u"."_s || step == u".."_s)
            return false;
    }
    return true;
}

// The name's bytes on disk, percent-encoded: names that are not UTF-8 come back as the same
// bytes, and no blank or line end is left to split on.
QByteArray EncodedPath(const QString &path)
{
    return Native(path).toPercentEncoding();
}

std::optional<QString> DecodedPath(QByteArrayView field, bool mayBeEmpty)
{
    const QString path = DecodeNativeName(QByteArray::fromPercentEncoding(field.toByteArray()));
    if (path.isEmpty() && mayBeEmpty)
        return path;
    return IsConfined(path) ? std::optional<QString>(path) : std::nullopt;
}

std::optional<SJournalEntry> ParseEntry(QByteArrayView line)
{
    const QList<QByteArray> fields = line.toByteArray().split(' ');
    if (fields.size() != 4 || fields[0] != kFileTag)
        return std::nullopt;
    const auto target = DecodedPath(fields[1], false);
    const auto stage = DecodedPath(fields[2], false);
    const auto backup = DecodedPath(fields[3], true);
    if (!target || !stage || !backup || *stage == *target || *backup == *target || *backup == *stage)
        return std::nullopt;
    return SJournalEntry{*target, *stage, *backup};
}

// The entry's new file never replaced its target while its stage file is still there.
bool UndoEntry(const QString &folder, const SJournalEntry &entry)
{
    const QString target = folder + u'/' + entry.strTarget;
    const QString stage = folder + u'/' + entry.strStage;
    const QString backup = entry.strBackup.isEmpty() ? QString() : folder + u'/' + entry.strBackup;
    bool undone = true;
    if (Exists(stage)) {
        undone = RemoveIfThere(stage);
        if (!backup.isEmpty() && Exists(backup))
            undone = (Exists(target) ? RemoveIfThere(backup)
                                     : ::rename(Native(backup).constData(), Native(target).constData()) == 0)
                  && undone;
    } else if (!backup.isEmpty()) {
        if (Exists(backup)) {
            undone = ::rename(Native(backup).constData(), Native(target).constData()) == 0;
            // Renaming a second name of the same file onto the first changes nothing.
            if (undone && Exists(backup))
                undone = RemoveIfThere(backup);
        }
    } else {
        undone = RemoveIfThere(target);
    }
    const qsizetype slash = target.lastIndexOf(u'/');
    SyncFolder(target.left(slash));
    return undone;
}

void RemoveStages(const QString &folder, const SUpdateJournal &journal)
{
    for (const SJournalEntry &entry : journal.entries)
        RemoveIfThere(folder + u'/' + entry.strStage);
}

bool RemoveBackups(const QString &folder, const SUpdateJournal &journal)
{
    bool removed = true;
    for (const SJournalEntry &entry : journal.entries) {
        if (!entry.strBackup.isEmpty())
            removed = RemoveIfThere(folder + u'/' + entry.strBackup) && removed;
    }
    return removed;
}

std::optional<SUpdateJournal> ReadJournal(int handle)
{
    QByteArray text;
    char block[8192];
    for (;;) {
        const ssize_t got = ::read(handle, block, sizeof block);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return std::nullopt;
        if (got == 0)
            break;
        text.append(block, got);
        if (text.size() > kMaxJournalBytes)
            return std::nullopt;
    }
    return ParseJournal(text);
}

// Opens and locks a journal that no running install holds; -1 when there is none, it is
// held, or it cannot be opened (errno says which).
int LockJournal(const QString &path)
{
    const int handle = ::open(Native(path).constData(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
    if (handle < 0)
        return -1;
    if (::flock(handle, LOCK_EX | LOCK_NB) != 0) {
        const int error = errno;
        ::close(handle);
        errno = error;
        return -1;
    }
    return handle;
}

// A journal that was being written when its install stopped: nothing had changed yet, so
// only its stage files go.
void DropPendingJournal(const QString &folder)
{
    const QString pending = PendingJournalPath(folder);
    const int handle = LockJournal(pending);
    if (handle < 0)
        return;
    if (const std::optional<SUpdateJournal> journal = ReadJournal(handle))
        RemoveStages(folder, *journal);
    RemoveIfThere(pending);
    ::close(handle);
}

} // namespace

QByteArray JournalText(const SUpdateJournal &journal)
{
    QByteArray text = kHeader.toByteArray() + '\n';
    for (const SJournalEntry &entry : journal.entries) {
        text += kFileTag.toByteArray() + ' ' + EncodedPath(entry.strTarget) + ' ' + EncodedPath(entry.strStage) + ' '
              + EncodedPath(entry.strBackup) + '\n';
    }
    if (journal.bComplete)
        text += kEndTag.toByteArray() + '\n';
    if (journal.bComplete && journal.bDone)
        text += kDoneTag.toByteArray() + '\n';
    return text;
}

std::optional<SUpdateJournal> ParseJournal(QByteArrayView text)
{
    if (text.size() > kMaxJournalBytes)
        return std::nullopt;
    // Only whole lines count: a journal cut short by a crash ends inside its last line.
    const qsizetype end = text.lastIndexOf('\n');
    if (end < 0)
        return std::nullopt;
    const QList<QByteArray> lines = text.first(end).toByteArray().split('\n');
    if (lines.first() != kHeader)
        return std::nullopt;
    SUpdateJournal journal;
    QSet<QString> names;
    for (qsizetype i = 1; i < lines.size(); ++i) {
        if (journal.bDone)
            return std::nullopt;
        if (journal.bComplete) {
            if (lines[i] != kDoneTag)
                return std::nullopt;
            journal.bDone = true;
            continue;
        }
        if (lines[i] == kEndTag) {
            journal.bComplete = true;
            continue;
        }
        const std::optional<SJournalEntry> entry = ParseEntry(lines[i]);
        if (!entry)
            return std::nullopt;
        // One name in two entries would let one entry's undo destroy the other's file.
        for (const QString &name : {entry->strTarget, entry->strStage, entry->strBackup}) {
            if (name.isEmpty())
                continue;
            if (names.contains(name))
                return std::nullopt;
            names.insert(name);
        }
        journal.entries.append(*entry);
    }
    return journal;
}

CUpdateJournalFile::CUpdateJournalFile(QString folder) : m_strFolder(std::move(folder)) {}

CUpdateJournalFile::~CUpdateJournalFile()
{
    if (m_handle >= 0)
        ::close(m_handle);
}

bool CUpdateJournalFile::Begin()
{
    const QString pending = PendingJournalPath(m_strFolder);
    RemoveIfThere(pending);
    m_handle = ::open(Native(pending).constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (m_handle < 0)
        return false;
    // Locked before its first byte, so no start of the program takes it for a stopped install.
    if (::flock(m_handle, LOCK_EX) != 0 || !Append(JournalText(m_journal))) {
        Finish();
        return false;
    }
    return true;
}

bool CUpdateJournalFile::Add(const SJournalEntry &entry)
{
    SUpdateJournal one;
    one.entries.append(entry);
    const QByteArray text = JournalText(one);
    if (!Append(text.mid(text.indexOf('\n') + 1)))
        return false;
    m_journal.entries.append(entry);
    return true;
}

bool CUpdateJournalFile::Seal()
{
    if (!Append(kEndTag.toByteArray() + '\n')
        || ::rename(Native(PendingJournalPath(m_strFolder)).constData(), Native(JournalPath(m_strFolder)).constData()) != 0)
        return false;
    m_bSealed = true;
    m_journal.bComplete = true;
    SyncFolder(m_strFolder);
    return true;
}

bool CUpdateJournalFile::MarkDone()
{
    if (!Append(kDoneTag.toByteArray() + '\n'))
        return false;
    m_journal.bDone = true;
    return true;
}

bool CUpdateJournalFile::Finish()
{
    const bool removed = RemoveIfThere(m_bSealed ? JournalPath(m_strFolder) : PendingJournalPath(m_strFolder));
    SyncFolder(m_strFolder);
    if (m_handle >= 0)
        ::close(m_handle);
    m_handle = -1;
    return removed;
}

bool CUpdateJournalFile::Append(const QByteArray &text)
{
    return m_handle >= 0 && WriteAll(m_handle, text) && ::fsync(m_handle) == 0;
}

bool UndoInstall(const QString &folder, const SUpdateJournal &journal)
{
    bool undone = true;
    for (qsizetype i = journal.entries.size() - 1; i >= 0; --i)
        undone = UndoEntry(folder, journal.entries.at(i)) && undone;
    return undone;
}

bool RecoverInterruptedUpdate(const QString &folder, QString *error)
{
    const auto fail = [error](const QString &text) {
        if (error)
            *error = text;
        return false;
    };
    if (folder.isEmpty())
        return true;
    DropPendingJournal(folder);
    const QString path = JournalPath(folder);
    if (!Exists(path))
        return true;
    const int handle = LockJournal(path);
    if (handle < 0)
        return fail(errno == EWOULDBLOCK ? u"an update is being installed"_s : u"cannot open "_s + path);
    const std::optional<SUpdateJournal> journal = ReadJournal(handle);
    if (!journal) {
        ::close(handle);
        return fail(u"unreadable update journal "_s + path);
    }
    bool undone = true;
    if (journal->bDone)
        undone = RemoveBackups(folder, *journal);
    else if (journal->bComplete)
        undone = UndoInstall(folder, *journal);
    else
        RemoveStages(folder, *journal);
    if (!undone) {
        ::close(handle);
        return fail(u"cannot undo the interrupted update in "_s + folder);
    }
    RemoveIfThere(path);
    SyncFolder(folder);
    ::close(handle);
    return true;
}

} // namespace velmora
