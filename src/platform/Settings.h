#pragma once

#include <QSettings>
#include <memory>

namespace velmora {

// The program's settings store, organisation "Klovenix", application "Velmora".
// Sections of the store are QSettings groups.
std::unique_ptr<QSettings> OpenSettings();

} // namespace velmora
