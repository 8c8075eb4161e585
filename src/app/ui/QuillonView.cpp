#include "app/ui/QuillonView.h"

#include "app/ButtonRules.h"
#include "app/MoveCheckedSongs.h"
#include "base/RunLogs.h"
#include "base/UserPaths.h"
#include "app/ViewLayout.h"
#include "check/ListSelectDirectory.h"
#include "check/ui/DirListModel.h"
#include "check/ui/DirListView.h"
#include "check/ui/FolderDialog.h"
#include "playlist/PlaylistCommand.h"
#include "playlist/ui/RevListView.h"
#include "verify/VerifyRun.h"
#include "platform/MessagePrompt.h"
#include "platform/Settings.h"
#include "platform/ShellOpen.h"
#include "platform/StopRequest.h"
#include "widgets/ui/ColorButton.h"
#include "widgets/ui/ColorRef.h"
#include "widgets/ui/ReadableColours.h"

#include <QApplication>
#include <QCheckBox>
#include <QEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>

namespace velmora {

using namespace Qt::Literals::StringLiterals;

namespace {

const QString kFolderPathKey = u"CSongView/FolderPath"_s;
const QString kSubFolderKey = u"CSongView/SubFolder"_s;
const QString kFolderNameKey = u"CSongView/FolderName"_s;
const QString kVerifyKey = u"CSongView/Verify"_s;

void Place(QWidget *control, const QRect &rect)
{
    control->setGeometry(rect.x(), rect.y(), std::max(rect.width(), 0), std::max(rect.height(), 0));
}

// What a Move did, for the status bar; the run logs have every file.
QString MoveSummaryText(const SMoveSummary &summary)
{
    QString text = summary.bStopped ? u"Move stopped: %1 of %2 files moved to %3"_s
                                    : u"%1 of %2 files moved to %3"_s;
    text = text.arg(summary.moved.size()).arg(summary.nChecked).arg(summary.strTargetFolder);
    if (!summary.kept.isEmpty())
        text += u", %1 kept where the target exists"_s.arg(summary.kept.size());
    if (!summary.failed.isEmpty())
        text += u", %1 failed (see Error View)"_s.arg(summary.failed.size());
    return text;
}

} // namespace

CQuillonView::CQuillonView(QWidget *parent)
    : QWidget(parent)
    , m_resultList(new CDirListView(m_dirItems, this))
    , m_playlistGrid(new CRevListView(m_grid, this))
{
    TakeBarColours();
    setAutoFillBackground(true);
    m_playlistGrid->hide();
    CreateCommandBar();
    m_nPlaylistMode = 0;
    m_dirItems.m_tuning = LoadCheckTuning();
    connect(&m_resultList->Model(), &CDirListModel::BusyChanged, this, &CQuillonView::OnBusyChanged);
    connect(&m_resultList->Model(), &CDirListModel::ProgressChanged, this, &CQuillonView::ProgressChanged);
    connect(m_resultList, &CDirListView::OpenFolderRequested, this,
            [this](const QString &path) { CheckFolder(path, 0); });
    // Verdicts are kept by row; once rows leave, they would name other songs.
    connect(m_resultList, &CDirListView::RowsAboutToBeCut, this, &CQuillonView::ForgetVerdicts);
}

// The two lists work on the item arrays of this view until they go: they must go first,
// before the arrays, not after them with the other children.
CQuillonView::~CQuillonView()
{
    delete m_playlistGrid;
    delete m_resultList;
}

void CQuillonView::CreateCommandBar()
{
    const auto button = [this](const QString &caption, int id, void (CQuillonView::*command)()) {
        auto *control = new CColorButton(caption, this);
        control->setObjectName(u"button%1"_s.arg(id));
        control->setFixedHeight(kBarHeight);
        connect(control, &QPushButton::clicked, this, command);
        return control;
    };
    m_folder = button(u"Folder"_s, IDC_FOLDER, &CQuillonView::OnFolder);
    m_subFolder = new QCheckBox(u"SubFolder"_s, this);
    m_subFolder->setObjectName(u"button%1"_s.arg(IDC_SUBFOLDER));
    m_subFolder->setFixedHeight(kBarHeight);
    connect(m_subFolder, &QCheckBox::clicked, this, &CQuillonView::OnSubFolder);
    m_playlist = button(u"Playlist"_s, IDC_PLAYLIST, &CQuillonView::OnPlaylist);
    m_clear = button(u"Clear"_s, IDC_CLEAR, &CQuillonView::OnClear);
    m_save = button(u"Save"_s, IDC_SAVE, &CQuillonView::OnSave);
    m_errorView = button(u"Error View"_s, IDC_ERRORVIEW, &CQuillonView::OnErrorView);
    m_move = button(u"Move"_s, IDC_MOVE, &CQuillonView::OnMove);
    m_pathField = new QLineEdit(this);
    m_pathField->setReadOnly(true);
    m_pathField->setObjectName(u"pathField"_s);

    m_bVerifySongChecks = OpenSettings()->value(kVerifyKey, 0).toInt() != 0;
    m_dirItems.m_nIncludeSubfolders = OpenSettings()->value(kSubFolderKey, 0).toInt() != 0 ? 1 : 0;
    m_subFolder->setChecked(m_dirItems.m_nIncludeSubfolders != 0);
}

QPushButton &CQuillonView::Button(int id)
{
    switch (id) {
    case IDC_FOLDER: return *m_folder;
    case IDC_PLAYLIST: return *m_playlist;
    case IDC_CLEAR: return *m_clear;
    case IDC_SAVE: return *m_save;
    case IDC_ERRORVIEW: return *m_errorView;
    default: return *m_move;
    }
}

void CQuillonView::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    LayOut();
}

// The original's width, or the width a caption needs at the font and style in use.
SCommandBarWidths CQuillonView::CommandBarWidths() const
{
    const auto fit = [](const QWidget *control) { return std::max(kButtonWidth, control->sizeHint().width()); };
    SCommandBarWidths widths;
    widths.nFolder = fit(m_folder);
    widths.nSubFolder = fit(m_subFolder);
    widths.nPlaylist = fit(m_playlist);
    widths.nClear = fit(m_clear);
    widths.nSave = fit(m_save);
    widths.nErrorView = fit(m_errorView);
    widths.nMove = fit(m_move);
    return widths;
}

QSize CQuillonView::minimumSizeHint() const
{
    if (!m_move) // asked while the bar is being made
        return QWidget::minimumSizeHint();
    return {CommandBarMinimumWidth(CommandBarWidths()), kBarHeight + kMinimumRowHeight};
}

// The bar keeps its light colour in every look; its captions take the look's text colour
// where it can be read there, and black where not (the light text of a dark look).
void CQuillonView::TakeBarColours()
{
    const QPalette look = QApplication::palette();
    QPalette colours = palette();
    const QColor bar = ColorFromColorRef(kBarColour);
    const auto onBar = [&](QPalette::ColorRole role) {
        const QColor text = look.color(QPalette::Active, role);
        return ReadableOn(text, bar) == text ? text : QColor(Qt::black);
    };
    colours.setColor(QPalette::Window, bar);
    colours.setColor(QPalette::Button, bar);
    SetTextColours(colours, QPalette::WindowText, QPalette::Window, onBar(QPalette::WindowText));
    SetTextColours(colours, QPalette::ButtonText, QPalette::Button, onBar(QPalette::ButtonText));
    m_bTakingColours = true;
    setPalette(colours);
    m_bTakingColours = false;
}

// Captions change their width with the font and the look, their colours with the look.
void CQuillonView::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::PaletteChange && !m_bTakingColours)
        TakeBarColours();
    if (m_move && (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange)) {
        updateGeometry();
        LayOut();
    }
}

void CQuillonView::LayOut()
{
    const SCommandBarLayout layout = LayOutCommandBar(width(), height(), CommandBarWidths());
    Place(m_folder, layout.folder);
    Place(m_subFolder, layout.subFolder);
    Place(m_pathField, layout.pathField);
    Place(m_playlist, layout.playlist);
    Place(m_clear, layout.clear);
    Place(m_save, layout.save);
    Place(m_errorView, layout.errorView);
    Place(m_move, layout.move);
    Place(m_resultList, layout.lists);
    Place(m_playlistGrid, layout.lists);
    m_playlistGrid->FitColumns();
    m_resultList->FitColumns();
}

void CQuillonView::ShowResultList()
{
    m_playlistGrid->hide();
    m_resultList->show();
    m_nPlaylistMode = 0;
    UpdateButtons();
    LayOut();
}

void CQuillonView::UpdateButtons()
{
    const SButtonStates states = UpdateButtonStates(m_nPlaylistMode != 0, m_dirItems.GetItemCount(),
                                                    m_grid.GetItemCount());
    const bool idle = !IsChecking();
    m_clear->setEnabled(idle && states.bClear);
    m_move->setEnabled(idle && states.bMove);
    m_folder->setEnabled(idle);
    m_playlist->setEnabled(idle);
}

// Commands that change the rows wait for the running check: it reads and writes the same
// rows between the events it lets through.
bool CQuillonView::RefuseWhileChecking()
{
    if (!IsChecking())
        return false;
    emit CommandRefused(u"A check is running: stop it first (Escape)."_s);
    return true;
}

void CQuillonView::CheckFolder(const QString &path, int topLevel)
{
    if (RefuseWhileChecking())
        return;
    m_playlistGrid->hide();
    m_resultList->show();
    m_nPlaylistMode = 0;
    UpdateButtons();
    ShowPath(path);
    m_dirItems.m_nTopLevel = topLevel;
    m_dirItems.m_nIncludeSubfolders = m_subFolder->isChecked() ? 1 : 0;
    ForgetVerdicts();
    ListSelectDirectory(m_dirItems, path);
    m_resultList->Model().ShowPendingChanges();
    if (topLevel == 0 && m_bVerifySongChecks && !m_bLastCheckStopped)
        VerifySongCheck();
    UpdateButtons();
}

// A long path is cut in the field; its tooltip holds it whole.
void CQuillonView::ShowPath(const QString &path)
{
    m_pathField->setText(path);
    m_pathField->setToolTip(path);
}

void CQuillonView::StopCheck()
{
    if (m_bPlaylistBusy)
        CStopRequest::Raise();
    else
        m_dirItems.RequestStop();
}

void CQuillonView::OnBusyChanged(bool busy)
{
    if (!busy)
        m_bLastCheckStopped = m_dirItems.IsStopRequested();
    UpdateButtons();
    emit BusyChanged(busy);
}

void CQuillonView::OnFolder()
{
    if (RefuseWhileChecking())
        return;
    const QString start = OpenSettings()->value(kFolderPathKey).toString();
    const QString chosen = QFileDialog::getExistingDirectory(this, u"Current folder is:"_s, start);
    if (chosen.isEmpty())
        return;
    CheckFolder(chosen, 1);
    OpenSettings()->setValue(kFolderPathKey, chosen);
    UpdateButtons();
}

void CQuillonView::OnSubFolder()
{
    m_dirItems.m_nIncludeSubfolders = m_subFolder->isChecked() ? 1 : 0;
    OpenSettings()->setValue(kSubFolderKey, m_dirItems.m_nIncludeSubfolders);
}

void CQuillonView::OnPlaylist()
{
    if (RefuseWhileChecking())
        return;
    const QString last = OpenSettings()->value(kFolderNameKey).toString();
    const qsizetype cut = last.lastIndexOf(u'/');
    const QString start = cut > 0 ? last.left(cut) : UserDataPath();
    const QString chosen = QFileDialog::getOpenFileName(this, QString(), start,
                                                        u"Play List Files (*.txt);;All Files (*)"_s);
    if (chosen.isEmpty())
        return;
    OpenPlaylist(chosen);
}

void CQuillonView::OpenPlaylist(const QString &path)
{
    if (RefuseWhileChecking())
        return;
    m_resultList->hide();
    m_playlistGrid->show();
    m_nPlaylistMode = 1;
    UpdateButtons();
    ShowPath(path);
    // Busy as a check is: the status bar follows the rows' files, Stop ends the file check.
    CStopRequest::Clear();
    m_bPlaylistBusy = true;
    emit BusyChanged(true);
    int total = 0;
    const int looked = LoadPlaylistAndCheckFiles(m_grid, path, [this, &total](int done, int all) {
        total = all;
        emit PlaylistProgressChanged(done, all);
        return !CStopRequest::IsRaised();
    });
    m_bPlaylistBusy = false;
    CStopRequest::Clear();
    emit BusyChanged(false);
    if (looked < total)
        emit WorkEnded(u"Stopped: %1 of %2 files looked for"_s.arg(looked).arg(total));
    OpenSettings()->setValue(kFolderNameKey, path);
    UpdateButtons();
}

void CQuillonView::OnClear()
{
    if (RefuseWhileChecking())
        return;
    if (m_nPlaylistMode != 0)
        m_grid.RemoveAllRows();
    else {
        ForgetVerdicts();
        m_dirItems.ClearList();
    }
    UpdateButtons();
    emit TraceAndLogsResetRequested();
}

void CQuillonView::OnSave()
{
    FlushActiveRunLogs();
    OpenInTextViewer(UserDataPath(u"directory.log"_s));
}

void CQuillonView::OnErrorView()
{
    FlushActiveRunLogs();
    OpenInTextViewer(UserDataPath(u"error.log"_s));
}

void CQuillonView::OnMove()
{
    if (RefuseWhileChecking())
        return;
    if (m_verdicts && m_nPlaylistMode == 0) {
        QuarantineTickedRows();
        UpdateButtons();
        return;
    }
    CFolderDialog picker(this);
    SMoveOptions options;
    options.progress = [this](int done, int total, const QString &name) {
        emit MoveProgressChanged(done, total, name);
    };
    m_bMoving = true;
    const SMoveSummary summary = MoveCheckedSongs(m_dirItems, picker, options);
    m_bMoving = false;
    if (summary.bStarted)
        emit WorkEnded(MoveSummaryText(summary));
    UpdateButtons();
}

void CQuillonView::SetVerifySongChecks(bool on)
{
    m_bVerifySongChecks = on;
    OpenSettings()->setValue(kVerifyKey, on ? 1 : 0);
}

} // namespace velmora
