#include "app/cli/StopSignals.h"

#include "platform/StopRequest.h"

#include <csignal>
#include <unistd.h>

namespace velmora {

namespace {

volatile std::sig_atomic_t g_received = 0;
struct sigaction g_previousInt;
struct sigaction g_previousTerm;

void OnStopSignal(int signal)
{
    if (g_received != 0)
        ::_exit(128 + signal);
    g_received = signal;
    // An outside tool the check waits for ends at once rather than at its time limit.
    CStopRequest::Raise();
}

void Install(int signal, struct sigaction *previous)
{
    struct sigaction action {};
    action.sa_handler = OnStopSignal;
    sigemptyset(&action.sa_mask);
    // Restarted calls: a read of a tool's output must not fail because the user pressed
    // Ctrl+C; the check notices the request at its next file.
    action.sa_flags = SA_RESTART;
    sigaction(signal, &action, previous);
}

} // namespace

CStopSignals::CStopSignals()
{
    g_received = 0;
    Install(SIGINT, &g_previousInt);
    Install(SIGTERM, &g_previousTerm);
}

CStopSignals::~CStopSignals()
{
    sigaction(SIGINT, &g_previousInt, nullptr);
    sigaction(SIGTERM, &g_previousTerm, nullptr);
}

int CStopSignals::Received()
{
    return int(g_received);
}

int CStopSignals::ExitStatus()
{
    return 128 + Received();
}

} // namespace velmora
