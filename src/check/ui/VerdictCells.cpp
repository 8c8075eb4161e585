#include "check/ui/VerdictCells.h"

#include <QPainter>
#include <QPixmap>
#include <QStringList>

namespace velmora::verdictcells {

QColor MarkColour(EVerdict verdict)
{
    // Dark enough to be told apart on white and on the light looks' stripes.
    switch (verdict) {
    case EVerdict::Broken: return QColor(0xC6, 0x28, 0x28);
    case EVerdict::Warning: return QColor(0xE0, 0x8A, 0x00);
    case EVerdict::Ok: break;
    }
    return QColor(0x2E, 0x7D, 0x32);
}

QIcon Mark(EVerdict verdict)
{
    static QIcon marks[3];
    QIcon &mark = marks[int(verdict)];
    if (mark.isNull()) {
        QPixmap pixmap(12, 12);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(MarkColour(verdict).darker(130));
        painter.setBrush(MarkColour(verdict));
        painter.drawEllipse(QRectF(0.5, 0.5, 11, 11));
        painter.end();
        mark = QIcon(pixmap);
    }
    return mark;
}

QString ReasonsText(const SSongVerdict &verdict)
{
    QStringList lines;
    for (const SVerifyReason &reason : verdict.reasons)
        lines.append(ReasonLine(reason));
    return lines.join(u'\n');
}

} // namespace velmora::verdictcells
