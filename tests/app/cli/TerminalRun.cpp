#include "app/cli/TerminalRun.h"

#include <QTemporaryFile>
#include <chrono>
#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace velmora::test {

namespace {

constexpr auto kTimeLimit = std::chrono::seconds(120);

[[noreturn]] void ExecChild(const QStringList &arguments, const QStringList &environment, int outFd)
{
    ::dup2(outFd, STDOUT_FILENO);
    std::vector<QByteArray> storage;
    std::vector<char *> argv;
    std::vector<char *> envp;
    storage.push_back(QByteArray(VELMORA_BINARY));
    for (const QString &argument : arguments)
        storage.push_back(argument.toUtf8());
    for (const QString &variable : environment)
        storage.push_back(variable.toUtf8());
    for (size_t i = 0; i < storage.size(); ++i)
        (i <= size_t(arguments.size()) ? argv : envp).push_back(storage[i].data());
    argv.push_back(nullptr);
    envp.push_back(nullptr);
    ::execve(VELMORA_BINARY, argv.data(), envp.data());
    ::_exit(127);
}

} // namespace

STerminalRun RunOnTerminal(const QStringList &arguments, const QStringList &environment,
                           const std::function<bool(const QByteArray &, int)> &watch)
{
    STerminalRun run;
    QTemporaryFile outFile;
    if (!outFile.open())
        return run;
    winsize size{};
    size.ws_col = 100;
    size.ws_row = 30;
    int master = -1;
    const pid_t pid = ::forkpty(&master, nullptr, nullptr, &size);
    if (pid < 0)
        return run;
    if (pid == 0)
        ExecChild(arguments, environment, outFile.handle());

    bool watching = bool(watch);
    const auto deadline = std::chrono::steady_clock::now() + kTimeLimit;
    char buffer[4096];
    while (std::chrono::steady_clock::now() < deadline) {
        pollfd wait{master, POLLIN, 0};
        if (::poll(&wait, 1, 100) <= 0)
            continue;
        const ssize_t got = ::read(master, buffer, sizeof buffer);
        if (got <= 0)
            break; // EIO: the program and every holder of the terminal have gone
        run.terminal.append(buffer, got);
        if (watching)
            watching = watch(run.terminal, pid);
    }
    ::close(master);
    int status = 0;
    pid_t ended = 0;
    for (int tries = 0; tries < 1000 && ended == 0; ++tries) {
        ended = ::waitpid(pid, &status, WNOHANG);
        if (ended == 0)
            ::usleep(10000);
    }
    if (ended != pid) {
        ::kill(pid, SIGKILL);
        ::waitpid(pid, &status, 0);
        return run;
    }
    if (WIFEXITED(status))
        run.exitCode = WEXITSTATUS(status);
    else if (WIFSIGNALED(status))
        run.endSignal = WTERMSIG(status);
    outFile.seek(0);
    run.out = outFile.readAll();
    return run;
}

} // namespace velmora::test
