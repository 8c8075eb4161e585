#pragma once

#include <QHash>
#include <QString>
#include <QStringList>

namespace velmora {

// A Windows-style INI file read the way the private-profile reader reads it: sections and
// keys without regard to case, the first of duplicates wins, a missing key reads as "",
// values are cut to 259 characters.
class CProfileFile
{
public:
    // Manifests are small; anything larger than this is not read at all.
    static constexpr qint64 kMaxFileBytes = qint64(16) << 20;
    static constexpr qsizetype kMaxValue = 259;

    // False when the file is missing, unreadable or too large (the profile is then empty).
    bool Load(const QString &path);
    void LoadText(const QString &text);

    QString Value(const QString &section, const QString &key) const;
    // The section names in file order, as written.
    const QStringList &Sections() const { return m_sections; }

private:
    QHash<QString, QHash<QString, QString>> m_values; // upper-cased section and key
    QStringList m_sections;
};

// Text of a profile file: UTF-16 LE or UTF-8 after their marks, otherwise the ANSI code page.
QString DecodeProfileBytes(const QByteArray &bytes);

} // namespace velmora
