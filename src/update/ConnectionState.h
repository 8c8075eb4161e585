#pragma once

#include <QString>

#include <optional>

namespace velmora {

// Whether the machine has a connection to reach host with: a default route (IPv4 or IPv6)
// in the kernel's routing table, or a host on this machine, which needs no network.
bool IsInternetConnected(const QString &host = {});
// Tests fix the answer; nullopt gives the machine's own answer back.
void SetInternetConnectionOverride(std::optional<bool> connected);

// host (without its ":port") is "localhost", an address 127.x.x.x or [::1].
bool IsLoopbackHost(const QString &host);
// The host of an http/https/ftp URL, with its port when it has one.
QString UrlHost(const QString &url);

} // namespace velmora
