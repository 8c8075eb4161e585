#pragma once

#include "app/ViewLayout.h"
#include "check/DirItemList.h"
#include "playlist/RevItemList.h"

#include <QWidget>

#include <memory>

class QCheckBox;
class QLineEdit;
class QPushButton;

namespace velmora {

class CDirListView;
class CRevListView;
struct SVerifyReport;

// The upper pane: the command bar (seven buttons and the read-only path field) over the
// result list or the playlist grid, one of them shown at a time. Every command hands its work
// to the core; the view only asks the user and keeps the buttons' enabling true.
class CQuillonView : public QWidget
{
    Q_OBJECT
public:
    explicit CQuillonView(QWidget *parent);
    ~CQuillonView() override;

    // Shows the result list and runs a check of path on it: a media-details check with
    // topLevel 1, a song check with 0. Refused while a check runs.
    void CheckFolder(const QString &path, int topLevel);
    // The frame's first layout: result list shown, folder mode, buttons enabled by the rules.
    void ShowResultList();
    void UpdateButtons();

    bool IsChecking() const { return m_dirItems.IsChecking() || m_grid.IsLoading(); }
    // Stop: ends the running check, verification, Move or playlist file check before its next file.
    void StopCheck();
    bool IsPlaylistMode() const { return m_nPlaylistMode != 0; }
    // Wide enough for every control of the bar at the font in use.
    QSize minimumSizeHint() const override;
    // True while the Move command moves files (the list is busy then, as during a check).
    bool IsMoving() const { return m_bMoving; }
    bool IsVerifying() const { return m_bVerifying; }
    bool IsLoadingPlaylist() const { return m_bPlaylistBusy; }

    // Song verification: when on (a setting kept across starts), every song check is
    // followed by the verification of its songs, and the list shows their verdicts.
    bool VerifiesSongChecks() const { return m_bVerifySongChecks; }
    void SetVerifySongChecks(bool on);
    // The verdicts of the rows shown, null when the rows were not verified.
    const SVerifyReport *Verdicts() const { return m_verdicts.get(); }
    // Undo: puts back the files a Move of verified songs set aside, as the manifest lists them.
    void UndoQuarantine(const QString &manifest);
    void OnUndoQuarantine();

    CDirItemList &DirItems() { return m_dirItems; }
    CDirListView &ResultList() { return *m_resultList; }
    CRevItemList &Grid() { return m_grid; }
    CRevListView &PlaylistGrid() { return *m_playlistGrid; }
    // The Playlist command once a file was chosen: the grid shown, the file loaded and each
    // row's file looked for.
    void OpenPlaylist(const QString &path);
    QPushButton &Button(int id);
    QCheckBox &SubFolderBox() { return *m_subFolder; }
    QLineEdit &PathField() { return *m_pathField; }

    // The commands, as the buttons run them.
    void OnFolder();
    void OnSubFolder();
    void OnPlaylist();
    void OnClear();
    void OnSave();
    void OnErrorView();
    void OnMove();

signals:
    // Clear asks the frame to empty the trace pane and start both run logs anew.
    void TraceAndLogsResetRequested();
    void BusyChanged(bool busy);
    void ProgressChanged(int done, int total);
    // The Move begins its done-th file of total, named name.
    void MoveProgressChanged(int done, int total, const QString &name);
    // A Move (or another task) ended; text says how, for the status bar.
    void WorkEnded(const QString &text);
    // The Playlist command has looked for done of total rows' files.
    void PlaylistProgressChanged(int done, int total);
    // The verification has read done of total files.
    void VerifyProgressChanged(int done, int total);
    // A command was refused because a check is running.
    void CommandRefused(const QString &why);

protected:
    void resizeEvent(QResizeEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void CreateCommandBar();
    void LayOut();
    SCommandBarWidths CommandBarWidths() const;
    void TakeBarColours();
    void ShowPath(const QString &path);
    bool RefuseWhileChecking();
    void OnBusyChanged(bool busy);
    void ForgetVerdicts();
    void VerifySongCheck();
    // Move over verified rows: the ticked songs with their companions go below the chosen
    // folder as they lie below the checked one, with the manifest that undoes it.
    void QuarantineTickedRows();

    CDirItemList m_dirItems;
    CRevItemList m_grid;
    int m_nPlaylistMode = 0;
    bool m_bTakingColours = false;
    bool m_bMoving = false;
    bool m_bVerifying = false;
    bool m_bPlaylistBusy = false;
    bool m_bVerifySongChecks = false;
    bool m_bLastCheckStopped = false;
    std::unique_ptr<SVerifyReport> m_verdicts;
    CDirListView *m_resultList;
    CRevListView *m_playlistGrid;
    QPushButton *m_folder = nullptr;
    QCheckBox *m_subFolder = nullptr;
    QPushButton *m_playlist = nullptr;
    QPushButton *m_clear = nullptr;
    QPushButton *m_save = nullptr;
    QPushButton *m_errorView = nullptr;
    QPushButton *m_move = nullptr;
    QLineEdit *m_pathField = nullptr;
};

// Control ids of the command bar.
constexpr int IDC_FOLDER = 311;
constexpr int IDC_PLAYLIST = 312;
constexpr int IDC_CLEAR = 316;
constexpr int IDC_SUBFOLDER = 317;
constexpr int IDC_SAVE = 334;
constexpr int IDC_ERRORVIEW = 335;
constexpr int IDC_MOVE = 336;

} // namespace velmora
