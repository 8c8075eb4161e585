#pragma once

#include <QString>
#include <QStringList>

namespace velmora {

// The songs of a numbered folder: one file-name list per song number, in the order the
// first file of each number was met. Numbers are taken modulo 1000, so 12 and 1012 share
// a list. False when the folder cannot be searched.
bool ListNumberedSongs(const QString &folder, QStringList &list);

} // namespace velmora
