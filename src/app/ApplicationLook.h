#pragma once

#include <QString>

namespace velmora {

// The visual styles the user can pick, by command id. The id is what the settings keep;
// the window maps each to a style of its toolkit.
constexpr int kLookWindows2000 = 210;
constexpr int kLookOfficeXp = 211;
constexpr int kLookWindowsXp = 212;
constexpr int kLookOffice2003 = 213;
constexpr int kLookVisualStudio2005 = 214;
constexpr int kLookBlue = 215;
constexpr int kLookBlack = 216;
constexpr int kLookSilver = 217;
constexpr int kLookAqua = 218;
constexpr int kDefaultLook = kLookVisualStudio2005;

// The menu label of a look ("" outside 210..218).
QString LookLabel(int look);

// "ApplicationLook" of the application-state section; the default is written back on the
// first start so that the setting is always there to edit.
int LoadApplicationLook();
void StoreApplicationLook(int look);

} // namespace velmora
