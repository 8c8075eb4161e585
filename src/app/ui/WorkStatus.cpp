#include "app/ui/WorkStatus.h"

#include "app/ProgressEstimate.h"

#include <QElapsedTimer>
#include <QLabel>
#include <QPainter>
#include <QProgressBar>
#include <QPushButton>
#include <QStatusBar>

namespace velmora {

using namespace Qt::Literals::StringLiterals;

namespace {

// The status text, cut in the middle where the bar is too narrow for it (a long file name
// keeps its start and its end), whole in its tooltip.
class CElidedLabel final : public QLabel
{
public:
    using QLabel::QLabel;
    QSize minimumSizeHint() const override { return {0, QLabel::minimumSizeHint().height()}; }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        const QRect area = contentsRect();
        const QString shown = fontMetrics().elidedText(text(), Qt::ElideMiddle, area.width());
        setToolTip(shown == text() ? QString() : text());
        painter.setPen(palette().color(QPalette::WindowText));
        painter.drawText(area, int(Qt::AlignLeft | Qt::AlignVCenter), shown);
    }
};

qint64 SteadyMs()
{
    static QElapsedTimer timer;
    if (!timer.isValid())
        timer.start();
    return timer.elapsed();
}

} // namespace

CWorkStatus::CWorkStatus(QStatusBar &bar)
    : QObject(&bar)
    , m_text(new CElidedLabel(&bar))
    , m_bar(new QProgressBar(&bar))
    , m_stop(new QPushButton(u"Stop"_s, &bar))
    , m_nowMs(SteadyMs)
{
    m_text->setObjectName(u"statusText"_s);
    m_bar->setObjectName(u"workProgress"_s);
    m_bar->setTextVisible(true);
    m_bar->setAlignment(Qt::AlignCenter);
    // Room for the longest text it shows at the application font.
    m_bar->setMinimumWidth(m_bar->fontMetrics().horizontalAdvance(u"888,888 of 888,888 files, 88:88:88 left"_s) + 16);
    m_bar->hide();
    m_stop->setObjectName(u"stopButton"_s);
    m_stop->setToolTip(u"End the running check or Move (Escape); the rows so far stay"_s);
    m_stop->hide();
    bar.addWidget(m_text, 1);
    bar.addPermanentWidget(m_bar);
    bar.addPermanentWidget(m_stop);
}

void CWorkStatus::SetClock(std::function<qint64()> nowMs)
{
    m_nowMs = nowMs ? std::move(nowMs) : std::function<qint64()>(SteadyMs);
}

void CWorkStatus::Begin(EWork work)
{
    m_work = work;
    m_bPending = false;
    m_bPhaseClock = false;
    m_nDone = m_nTotal = 0;
    m_bar->setRange(0, 0);
    m_bar->setFormat(QString());
    m_bar->show();
    m_stop->show();
    switch (work) {
    case EWork::Move: m_text->setText(u"Moving..."_s); break;
    case EWork::Verify: m_text->setText(u"Verifying the songs..."_s); break;
    case EWork::Playlist: m_text->setText(u"Loading the playlist..."_s); break;
    case EWork::Check: m_text->setText(u"Reading the folder..."_s); break;
    }
}

void CWorkStatus::Progress(EWork work, int done, int total)
{
    if (work != m_work || !m_bPhaseClock) {
        m_work = work;
        m_bPhaseClock = true;
        m_nPhaseStartMs = m_nowMs();
    }
    m_nDone = done;
    m_nTotal = total;
    Schedule();
}

void CWorkStatus::MoveProgress(int done, int total, const QString &name)
{
    m_strName = name;
    Progress(EWork::Move, std::max(done - 1, 0), total);
}

void CWorkStatus::End(const QString &text)
{
    m_bPending = false;
    m_bPhaseClock = false;
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

QString CWorkStatus::PhaseText() const
{
    const int current = std::min(m_nDone + 1, m_nTotal);
    switch (m_work) {
    case EWork::Move: return u"Moving %1 of %2: %3"_s.arg(current).arg(m_nTotal).arg(m_strName);
    case EWork::Verify: return u"Verifying file %1 of %2"_s.arg(current).arg(m_nTotal);
    case EWork::Playlist: return u"Looking for file %1 of %2"_s.arg(current).arg(m_nTotal);
    case EWork::Check: break;
    }
    return u"Checking file %1 of %2"_s.arg(current).arg(m_nTotal);
}

void CWorkStatus::ShowPending()
{
    if (!m_bPending)
        return;
    m_bPending = false;
    m_bar->setRange(0, std::max(m_nTotal, 1));
    m_bar->setValue(std::min(m_nDone, m_nTotal));
    QString barText = GroupedNumber(m_nDone) + u" of "_s + GroupedNumber(m_nTotal) + u" files"_s;
    const SProgressEstimate estimate = EstimateProgress(m_nDone, m_nTotal, double(m_nowMs() - m_nPhaseStartMs) / 1000.0);
    if (estimate.nSecondsLeft >= 0)
        barText += u", "_s + ClockText(estimate.nSecondsLeft) + u" left"_s;
    m_bar->setFormat(barText);
    m_text->setText(PhaseText());
}

} // namespace velmora
