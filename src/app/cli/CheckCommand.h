#pragma once

#include <QStringList>

namespace velmora {

// "velmora check ...": runs one check, with --move-to moves the ticked rows' files, and prints
// the rows. Returns the exit status: 0 all rows in order, 1 some row marked or with a result
// text, 2 usage error, 3 some move failed.
int RunCheckCommand(const QStringList &arguments);

} // namespace velmora
