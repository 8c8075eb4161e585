#include "platform/ChildProcess.h"

#include "platform/MessagePump.h"
#include "platform/NativeName.h"
#include "platform/StopRequest.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cerrno>
#include <condition_variable>
#include <mutex>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

extern char **environ;

namespace velmora {

namespace {

constexpr int kPollStepMs = 50;
constexpr int kPassedFd = 3;
// A stop request ends a tool within this, well under the second the user may wait.
constexpr int kWaitStepMs = 50;

class CFileDescriptor
{
public:
    explicit CFileDescriptor(int fd = -1) : m_fd(fd) {}
    ~CFileDescriptor() { Close(); }
    CFileDescriptor(const CFileDescriptor &) = delete;
    CFileDescriptor &operator=(const CFileDescriptor &) = delete;
    int Get() const { return m_fd; }
    void Close()
    {
        if (m_fd >= 0)
            ::close(m_fd);
        m_fd = -1;
    }

private:
    int m_fd;
};

class CSpawnActions
{
public:
    CSpawnActions() { m_ok = posix_spawn_file_actions_init(&m_actions) == 0; }
    ~CSpawnActions()
    {
        if (m_ok)
            posix_spawn_file_actions_destroy(&m_actions);
    }
    CSpawnActions(const CSpawnActions &) = delete;
    CSpawnActions &operator=(const CSpawnActions &) = delete;
    bool Ok() const { return m_ok; }
    posix_spawn_file_actions_t *Get() { return &m_actions; }

private:
    posix_spawn_file_actions_t m_actions{};
    bool m_ok = false;
};

class CSpawnAttributes
{
public:
    CSpawnAttributes() { m_ok = posix_spawnattr_init(&m_attributes) == 0; }
    ~CSpawnAttributes()
    {
        if (m_ok)
            posix_spawnattr_destroy(&m_attributes);
    }
    CSpawnAttributes(const CSpawnAttributes &) = delete;
    CSpawnAttributes &operator=(const CSpawnAttributes &) = delete;
    bool Ok() const { return m_ok; }
    posix_spawnattr_t *Get() { return &m_attributes; }

private:
    posix_spawnattr_t m_attributes{};
    bool m_ok = false;
};

// The environment of this process with LC_ALL set to C.UTF-8.
std::vector<QByteArray> Utf8Environment()
{
    std::vector<QByteArray> variables;
    for (char **variable = environ; *variable; ++variable) {
        if (std::strncmp(*variable, "LC_ALL=", 7) != 0)
            variables.emplace_back(*variable);
    }
    variables.emplace_back("LC_ALL=C.UTF-8");
    return variables;
}

pid_t Spawn(const QString &program, const QStringList &arguments, int writeEnd, int passedFd, bool utf8Locale)
{
    CSpawnActions actions;
    CSpawnAttributes attributes;
    if (!actions.Ok() || !attributes.Ok())
        return -1;
    posix_spawn_file_actions_addopen(actions.Get(), STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_adddup2(actions.Get(), writeEnd, STDOUT_FILENO);
    posix_spawn_file_actions_adddup2(actions.Get(), writeEnd, STDERR_FILENO);
    if (passedFd >= 0)
        posix_spawn_file_actions_adddup2(actions.Get(), passedFd, kPassedFd);
    // Its own group, so that a stuck tool and everything it started can be stopped together.
    posix_spawnattr_setflags(attributes.Get(), POSIX_SPAWN_SETPGROUP);
    posix_spawnattr_setpgroup(attributes.Get(), 0);

    std::vector<QByteArray> encoded;
    encoded.push_back(EncodeNativeName(program));
    for (const QString &argument : arguments)
        encoded.push_back(EncodeNativeName(argument));
    std::vector<char *> argv;
    for (QByteArray &bytes : encoded)
        argv.push_back(bytes.data());
    argv.push_back(nullptr);

    std::vector<QByteArray> environment = utf8Locale ? Utf8Environment() : std::vector<QByteArray>();
    std::vector<char *> envp;
    for (QByteArray &variable : environment)
        envp.push_back(variable.data());
    envp.push_back(nullptr);

    pid_t pid = -1;
    if (posix_spawn(&pid, encoded.front().constData(), actions.Get(), attributes.Get(), argv.data(),
                    utf8Locale ? envp.data() : environ) != 0)
        return -1;
    return pid;
}

// Reads until the pipe ends or stop is set; never blocks longer than one poll step.
void ReadPipe(int readEnd, qsizetype blockSize, const std::atomic<bool> &stop,
              const std::function<void(const QByteArray &)> &onBlock)
{
    QByteArray block(blockSize, Qt::Uninitialized);
    while (!stop.load()) {
        pollfd wait{readEnd, POLLIN, 0};
        const int ready = ::poll(&wait, 1, kPollStepMs);
        if (ready < 0 && errno == EINTR)
            continue;
        if (ready < 0)
            return;
        if (ready == 0)
            continue;
        const ssize_t got = ::read(readEnd, block.data(), size_t(block.size()));
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            return;
        onBlock(QByteArray(block.constData(), qsizetype(got)));
    }
}

// Waits in short steps until the reader says the output ended, the time limit passes or a
// stop is requested; between steps the interface thread handles its messages.
EChildEnd WaitForOutputEnd(std::mutex &mutex, std::condition_variable &ended, const bool &finished,
                           int timeLimitMs)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeLimitMs);
    std::unique_lock<std::mutex> lock(mutex);
    while (true) {
        const auto step = std::min(deadline, std::chrono::steady_clock::now() + std::chrono::milliseconds(kWaitStepMs));
        if (ended.wait_until(lock, step, [&] { return finished; }))
            return EChildEnd::Finished;
        if (CStopRequest::IsRaised())
            return EChildEnd::Stopped;
        if (std::chrono::steady_clock::now() >= deadline)
            return EChildEnd::TimedOut;
        lock.unlock();
        PumpMessages();
        lock.lock();
    }
}

} // namespace

bool RunChildCollectingOutput(const QString &program, const QStringList &arguments, qsizetype blockSize,
                              int timeLimitMs, const std::function<void(const QByteArray &)> &onBlock,
                              const SChildOptions &options)
{
    EChildEnd ignored = EChildEnd::Finished;
    EChildEnd &how = options.pEnd ? *options.pEnd : ignored;
    const int passedFd = options.nPassedFd;
    how = EChildEnd::NotStarted;
    int ends[2];
    if (::pipe2(ends, O_CLOEXEC) != 0)
        return false;
    CFileDescriptor readEnd(ends[0]);
    CFileDescriptor writeEnd(ends[1]);
    // A descriptor that already is the child's number would keep its close-on-exec flag
    // through a dup2 onto itself: it is handed over from a copy.
    CFileDescriptor passedCopy(passedFd >= 0 ? ::fcntl(passedFd, F_DUPFD_CLOEXEC, kPassedFd + 1) : -1);
    if (passedFd >= 0 && passedCopy.Get() < 0)
        return false;
    const pid_t pid = Spawn(program, arguments, writeEnd.Get(), passedCopy.Get(), options.bUtf8Locale);
    passedCopy.Close();
    // Only the child may hold the write end now, so the pipe ends when the child is done.
    writeEnd.Close();
    if (pid < 0)
        return false;

    std::mutex mutex;
    std::condition_variable ended;
    bool finished = false;
    std::atomic<bool> stop{false};
    std::thread reader([&] {
        ReadPipe(readEnd.Get(), blockSize, stop, onBlock);
        const std::lock_guard<std::mutex> lock(mutex);
        finished = true;
        ended.notify_one();
    });
    how = WaitForOutputEnd(mutex, ended, finished, timeLimitMs);
    if (how != EChildEnd::Finished) {
        ::kill(-pid, SIGKILL);
        stop.store(true);
    }
    reader.join();
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    return how == EChildEnd::Finished;
}

} // namespace velmora
