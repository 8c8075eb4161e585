#include "app/ui/AboutDialog.h"

#include "res/Version.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace velmora {

using namespace Qt::Literals::StringLiterals;

CAboutDialog::CAboutDialog(QWidget *parent)
    : QDialog(parent)
{
    setWindowTitle(u"About "_s + QString::fromUtf16(kApplicationTitle));
    auto *icon = new QLabel(this);
    icon->setPixmap(QApplication::windowIcon().pixmap(32, 32));
    auto *text = new QLabel(QString::fromUtf16(kApplicationTitle) + u", Version "_s + QString::fromUtf16(kVersionText), this);
    text->setObjectName(u"aboutText"_s);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    auto *row = new QHBoxLayout;
    row->addWidget(icon);
    row->addWidget(text, 1);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(row);
    layout->addWidget(buttons);
}

} // namespace velmora
