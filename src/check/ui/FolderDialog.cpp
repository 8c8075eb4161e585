#include "check/ui/FolderDialog.h"

#include <QDir>
#include <QFileDialog>
#include <QUrl>

namespace velmora {

using namespace Qt::Literals::StringLiterals;

CFolderDialog::CFolderDialog(QWidget *parent) : m_parent(parent), m_strInitialFolder(QDir::homePath())
{
}

int CFolderDialog::DoModal()
{
    m_strFolderPath.clear();
    QFileDialog dialog(m_parent, u"Target Directory"_s, m_strInitialFolder);
    dialog.setObjectName(u"TargetDirectoryDialog"_s);
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOption(QFileDialog::ShowDirsOnly, true);
    if (dialog.exec() != QDialog::Accepted)
        return kCancelled;
    const QList<QUrl> chosen = dialog.selectedUrls();
    if (chosen.isEmpty() || !chosen.first().isLocalFile() || chosen.first().toLocalFile().isEmpty())
        return kNoPath;
    m_strFolderPath = QDir::cleanPath(chosen.first().toLocalFile());
    return kChosen;
}

QString CFolderDialog::PickTargetFolder()
{
    return DoModal() == kChosen ? m_strFolderPath : QString();
}

} // namespace velmora
