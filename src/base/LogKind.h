#pragma once

namespace velmora {

// Kind of a run-log line. Plain and Problem lines also go to error.log; any other value
// is shown like Plain but kept out of error.log.
enum ELogKind : int { Plain = 0, Good = 1, Progress = 2, Problem = 3 };

inline bool GoesToErrorLog(int kind)
{
    return kind == Plain || kind == Problem;
}

} // namespace velmora
