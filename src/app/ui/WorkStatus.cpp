#include "app/ui/WorkStatus.h"

#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QStatusBar>

namespace velmora {

using namespace Qt::Literals::StringLiterals;

CWorkStatus::CWorkStatus(QStatusBar &bar)
    : QObject(&bar)
    , m_text(new QLabel(&bar))
    , m_bar(new QProgressBar(&bar))
    , m_stop(new QPushButton(u"Stop"_s, &bar))
{
    m_text->setObjectName(u"statusText"_s);
    m_bar->setObjectName(u"workProgress"_s);
    m_bar->setMaximumWidth(220);
    m_bar->hide();
    m_stop->setObjectName(u"stopButton"_s);
    m_stop->setToolTip(u"End the running check or Move (Escape); the rows so far stay"_s);
    m_stop->hide();
    bar.addWidget(m_text, 1);
    bar.addPermanentWidget(m_bar);
    bar.addPermanentWidget(m_stop);
}

void CWorkStatus::Begin(EWork work)
{
    m_work = work;
    m_bPending = false;
    m_nDone = m_nTotal = 0;
    m_bar->setRange(0, 0);
    m_bar->show();
    m_stop->show();
    m_text->setText(work == EWork::Move ? u"Moving..."_s : u"Reading the folder..."_s);
}

void CWorkStatus::CheckProgress(int done, int total)
{
    m_work = EWork::Check;
    m_nDone = done;
    m_nTotal = total;
    Schedule();
}

void CWorkStatus::MoveProgress(int done, int total, const QString &name)
{
    m_work = EWork::Move;
    m_nDone = done;
    m_nTotal = total;
    m_strName = name;
    Schedule();
}

void CWorkStatus::End(const QString &text)
{
    m_bPending = false;
    m_bar->hide();
    m_stop->hide();
    m_text->setText(text);
}

void CWorkStatus::Schedule()
{
    if (m_bPending)
        return;
    m_bPending = true;
    QMetaObject::invokeMethod(this, &CWorkStatus::ShowPending, Qt::QueuedConnection);
}

void CWorkStatus::ShowPending()
{
    if (!m_bPending)
        return;
    m_bPending = false;
    m_bar->setRange(0, std::max(m_nTotal, 1));
    if (m_work == EWork::Move) {
        // The file named is on its way: the bar counts the ones before it.
        m_bar->setValue(std::max(m_nDone - 1, 0));
        m_text->setText(u"Moving %1 of %2: %3"_s.arg(m_nDone).arg(m_nTotal).arg(m_strName));
        return;
    }
    m_bar->setValue(m_nDone);
    m_text->setText(u"Checking file %1 of %2"_s.arg(m_nDone + 1).arg(m_nTotal));
}

} // namespace velmora
