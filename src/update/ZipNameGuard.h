#pragma once

#include <QByteArrayView>
#include <QString>
#include <QStringList>

#include <optional>

namespace velmora {

// An item name as stored (UTF-8, ending at a zero byte if it has one), decoded, kept to
// kMaxZipItemName units and cleaned by CleanItemName.
QString ItemNameFromBytes(QByteArrayView stored);

// Drops drive letters, leading slashes and parent-folder steps until none is left at the
// front, so that the name reads as a path below the folder an item is extracted into.
// "C:\a\..\..\win\x.dll" becomes "win\x.dll", "../x" becomes "x".
QString CleanItemName(QString name);

// The folder steps of a relative name (separated by "/" or "\"), with "." steps and empty
// steps dropped and ".." steps applied; nullopt when a ".." step would leave the top.
std::optional<QStringList> ConfinedNameParts(const QString &name);

} // namespace velmora
