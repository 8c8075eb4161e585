#pragma once

#include <QString>
#include <QStringList>

namespace velmora {

// Splits a command line the way the program always has: blanks (spaces only) separate
// arguments, a double quote opens an argument that the next double quote ends, and there
// is no escape character. An empty quoted pair is an argument of its own.
class CmdLineParser
{
public:
    // Splits text, replacing any earlier result.
    void Parse(const QString &text);
    int Count() const { return int(m_arguments.size()); }
    // Argument i, or an empty string when i is out of range. Argument 0 is the program.
    QString Get(int i) const { return m_arguments.value(i); }

private:
    QStringList m_arguments;
};

} // namespace velmora
