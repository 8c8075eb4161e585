#pragma once

#include <QStringList>

namespace velmora {

// "velmora update --check [--host HOST]": fetches the start-up manifest and says what it
// offers, installing nothing. Exit status 0 up to date, 1 an update is offered, 2 error.
int RunUpdateCommand(const QStringList &arguments);

} // namespace velmora
