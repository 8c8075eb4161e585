#pragma once

#include <QString>

#include <optional>

namespace velmora {

// The update channel: the channel folder on the server and the update type in the trace.
inline constexpr char16_t kUpdateChannel[] = u"update";
// The manifests of the start-up check and of Online Upgrade.
inline constexpr char16_t kStartupManifest[] = u"update.ini";
inline constexpr char16_t kOnlineManifest[] = u"update-last.ini";
// The switch the updater restarts the program with: no update check at that start.
inline constexpr char16_t kNoUpdateSwitch[] = u"-iDodOdevOdiviz";

// The maker's web host ("Update/Host", may carry ":port"); empty means no update traffic.
QString UpdateHost();
// Replaces the setting for this process (tests, the command line's --host); nullopt
// gives the setting back.
void SetUpdateHostOverride(std::optional<QString> host);
// A host name, IPv4 address, bracketed IPv6 address, each with an optional ":port". Hosts
// reach a shell command line and URLs, so nothing else is accepted.
bool IsPlausibleHost(const QString &host);

// The local update folder "Update_002" in the private work folder (platform/PrivateFolder.h),
// made when missing and checked on every call; empty when it is refused.
QString UpdateFolder();

// The running program file (tests point it at a copy); its file name is the name the
// manifests must offer.
QString RunningProgramPath();
void SetRunningProgramPath(const QString &path);
QString RunningProgramName();

// A manifest's program name matches ours without regard to case, with or without the
// ".exe" ending the maker's manifests were written with.
bool IsProgramName(const QString &offered, const QString &program);

} // namespace velmora
