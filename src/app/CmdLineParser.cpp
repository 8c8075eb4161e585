#include "app/CmdLineParser.h"

namespace velmora {

void CmdLineParser::Parse(const QString &text)
{
    m_arguments.clear();
    enum class EState { Between, Unquoted, Quoted } state = EState::Between;
    QString current;
    for (const QChar c : text) {
        switch (state) {
        case EState::Between:
            if (c == u' ')
                break;
            if (c == u'"') {
                state = EState::Quoted;
            } else {
                current = c;
                state = EState::Unquoted;
            }
            break;
        case EState::Unquoted:
        case EState::Quoted:
            if (c == (state == EState::Quoted ? u'"' : u' ')) {
                m_arguments.append(current);
                current.clear();
                state = EState::Between;
            } else {
                current.append(c);
            }
            break;
        }
    }
    if (state != EState::Between)
        m_arguments.append(current);
}

} // namespace velmora
