#pragma once

#include <QString>

namespace velmora {

// 1 when the maker's host answers our ping tool from an outside address, else 0. fresh 0
// takes the answer cached for this process when there is one; fresh 1 always asks again.
// With no connection the answer is 0 and the cache is left as it is.
int IsServerReachable(int fresh);
// Forgets the cached answer (tests).
void ResetServerReachable();

// The verdict on the ping tool's output: 0 without "replied in"; otherwise 1 unless the
// first word (the replying address) begins with "192" or "127".
int PingOutputVerdict(const QString &output, QString *firstWord = nullptr);

// The shell command that pings host once through velmora-ping in programFolder.
QString PingCommand(const QString &programFolder, const QString &host);

// Runs program with arguments and returns all it wrote on stdout and stderr, read in blocks
// of up to 100 bytes from the ANSI code page; "" when it cannot start. A run is stopped
// after timeLimitMs.
QString RunAndCapture(const QString &program, const QStringList &arguments, int timeLimitMs = 10000);

} // namespace velmora
