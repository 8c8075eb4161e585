#pragma once

#include <QEvent>
#include <QObject>
#include <QWidget>

namespace velmora::test {

// Counts the paint events a widget gets.
class CPaintCount : public QObject
{
public:
    explicit CPaintCount(QWidget *widget) { widget->installEventFilter(this); }
    int m_paints = 0;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            ++m_paints;
        return QObject::eventFilter(watched, event);
    }
};

} // namespace velmora::test
