#pragma once

#include "platform/NativeName.h"

#include <QByteArray>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QMap>
#include <QString>

namespace velmora::test {

// Every file below the given folders, hidden ones included, with its bytes: taken before and
// after a move to prove that nothing was lost, half-written or left behind.
inline QMap<QString, QByteArray> FileCensus(const QStringList &folders)
{
    QMap<QString, QByteArray> files;
    for (const QString &folder : folders) {
        QDirIterator it(folder, QDir::Files | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                        QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString path = it.next();
            QFile file(path);
            files.insert(path, file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>"));
        }
    }
    return files;
}

// The census after a move of from to to: the same files, one of them renamed.
inline QMap<QString, QByteArray> Moved(QMap<QString, QByteArray> files, const QString &from, const QString &to)
{
    files.insert(to, files.take(from));
    return files;
}

} // namespace velmora::test
