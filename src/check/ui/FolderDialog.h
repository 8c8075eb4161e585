#pragma once

#include "app/MoveCheckedSongs.h"

#include <QString>

class QFileDialog;
class QWidget;

namespace velmora {

// The folder picker of the Move command over Qt's folder dialog: folders only, titled
// "Target Directory", opening at the user's home folder unless told otherwise.
class CFolderDialog final : public IFolderPicker
{
public:
    static constexpr int kChosen = 1;      // a folder with a file-system path was chosen
    static constexpr int kCancelled = 2;
    static constexpr int kNoPath = -1;     // the choice has no file-system path

    explicit CFolderDialog(QWidget *parent = nullptr);

    void SetInitialFolder(const QString &folder) { m_strInitialFolder = folder; }
    QString InitialFolder() const { return m_strInitialFolder; }
    int DoModal();
    QString GetFolderPath() const { return m_strFolderPath; }

    QString PickTargetFolder() override;

private:
    QWidget *m_parent;
    QString m_strInitialFolder;
    QString m_strFolderPath;
};

} // namespace velmora
