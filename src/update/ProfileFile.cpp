#include "update/ProfileFile.h"

#include "platform/CodePage.h"

#include <QFile>

namespace velmora {

using namespace Qt::Literals::StringLiterals;

namespace {

QString Unquoted(QString value)
{
    value = value.trimmed();
    if (value.size() >= 2 && ((value.startsWith(u'"') && value.endsWith(u'"'))
                              || (value.startsWith(u'\'') && value.endsWith(u'\''))))
        value = value.mid(1, value.size() - 2);
    return value;
}

} // namespace

QString DecodeProfileBytes(const QByteArray &bytes)
{
    if (bytes.startsWith("\xFF\xFE")) {
        const QByteArray body = bytes.mid(2);
        return QString::fromUtf16(reinterpret_cast<const char16_t *>(body.constData()), body.size() / 2);
    }
    if (bytes.startsWith("\xEF\xBB\xBF"))
        return QString::fromUtf8(bytes.mid(3));
    return DecodeCodePage(bytes, kAnsiCodePage);
}

bool CProfileFile::Load(const QString &path)
{
    m_values.clear();
    m_sections.clear();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() > kMaxFileBytes)
        return false;
    const QByteArray bytes = file.read(kMaxFileBytes + 1);
    if (bytes.size() > kMaxFileBytes)
        return false;
    LoadText(DecodeProfileBytes(bytes));
    return true;
}

void CProfileFile::LoadText(const QString &text)
{
    m_values.clear();
    m_sections.clear();
    // Sections are named by key, never by pointer: the hash may move its values as it grows.
    QString section;
    bool inSection = false;
    qsizetype position = 0;
    while (position <= text.size()) {
        qsizetype end = text.indexOf(u'\n', position);
        if (end < 0)
            end = text.size();
        const QString line = text.mid(position, end - position).trimmed();
        position = end + 1;
        if (line.isEmpty() || line.startsWith(u';'))
            continue;
        if (line.startsWith(u'[')) {
            const qsizetype close = line.indexOf(u']');
            const QString name = line.mid(1, close < 0 ? -1 : close - 1).trimmed();
            const QString upper = name.toUpper();
            // A repeated section adds nothing: its first appearance is the one read.
            inSection = !m_values.contains(upper);
            if (inSection) {
                m_sections.append(name);
                m_values.insert(upper, {});
                section = upper;
            }
            continue;
        }
        const qsizetype equals = line.indexOf(u'=');
        if (!inSection || equals < 0)
            continue;
        QHash<QString, QString> &values = m_values[section];
        const QString key = line.left(equals).trimmed().toUpper();
        if (!values.contains(key))
            values.insert(key, Unquoted(line.mid(equals + 1)).left(kMaxValue));
    }
}

QString CProfileFile::Value(const QString &section, const QString &key) const
{
    const auto found = m_values.constFind(section.toUpper());
    if (found == m_values.constEnd())
        return {};
    return found->value(key.toUpper());
}

} // namespace velmora
