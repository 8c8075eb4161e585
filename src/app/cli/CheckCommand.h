#pragma once

#include <QStringList>

namespace velmora {

// "velmora check ...": runs one check and prints its rows. Returns the exit status:
// 0 all rows in order, 1 some row marked or with a result text, 2 usage error.
int RunCheckCommand(const QStringList &arguments);

} // namespace velmora
