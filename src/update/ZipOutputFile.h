#pragma once

#include "update/ZipArchive.h"

#include <QFile>
#include <QStringList>

#include <memory>

namespace velmora {

// Creates root (with its missing parents) and then each folder of parts below it. A step
// below root that exists as anything but a real folder (a file, or a symbolic link that
// could lead elsewhere) stops it: nothing is created through it. False on any failure.
bool MakeFoldersBelow(const QString &root, const QStringList &parts);

// Creates path anew for writing: an existing file or link of that name is removed first, so
// the new file never goes through a link. Null when it cannot be created.
std::unique_ptr<QFile> CreateOutputFile(const QString &path);

// Gives a written file the item's access and modification times (when it has them) and,
// for a read-only item, removes its write permissions.
void FinishOutputFile(QFile &file, const SZipEntry &item);

void RemoveOutputFile(const QString &path);

} // namespace velmora
