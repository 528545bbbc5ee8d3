#include "app/frmMenus.h"

#include "app/MainModule.h"

#include <QMenu>
#include <QMenuBar>
#include <QTimer>

namespace horalog
{

namespace
{
constexpr int kLifetimeMs = 2000;
} // namespace

frmMenus::frmMenus(MainModule& module)
    : Form(module, QStringLiteral("MenuForm"), 1500, 300),
      MenuPopup(menuBar()->addMenu(QStringLiteral("MenuPopup"))), Timer1(new QTimer(this))
{
    module_.menuForm = this;
    mnuPopup[0] = MenuPopup->addAction(QString());
    mnuPopup[1] = MenuPopup->addSeparator();
    mnuPopup[2] = MenuPopup->addAction(QStringLiteral("Edit"));
    mnuPopup[2]->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_A));
    for (const int index : {0, 2})
        connect(mnuPopup[size_t(index)], &QAction::triggered, this, [this, index] { mnuPopup_Click(index); });
    Timer1->setInterval(kLifetimeMs);
    Timer1->setSingleShot(true);
    connect(Timer1, &QTimer::timeout, this, &frmMenus::Timer1_Timer);
    Form_Load();
}

void frmMenus::Form_Load()
{
    mnuPopup[0]->setText(module_.AlarmsOn ? QStringLiteral("Off") : QStringLiteral("On"));
    Timer1->start();
}

void frmMenus::popupAt(const QPoint& screenPosition)
{
    MenuPopup->popup(screenPosition);
}

void frmMenus::mnuPopup_Click(int Index)
{
    if (Index == 0)
        emit toggleChosen();
    else
        emit editChosen();
    close();
}

// A menu still open under the pointer is not pulled away: the carrier goes once it closes, after the
// choice made in it has run.
void frmMenus::Timer1_Timer()
{
    if (MenuPopup->isVisible())
        connect(MenuPopup, &QMenu::aboutToHide, this, &QWidget::close, Qt::QueuedConnection);
    else
        close();
}

void frmMenus::Form_Unload()
{
    module_.menuForm = nullptr;
}

} // namespace horalog
