#include "app/MainModule.h"

#include "app/AboutForm.h"
#include "app/ProgramFiles.h"
#include "app/RegModule.h"
#include "store/DataFile.h"
#include "store/DataFileHealth.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QEventLoop>
#include <QMainWindow>
#include <QScreen>
#include <QUuid>

namespace horalog
{

namespace
{
const QString kErrorTitle = QStringLiteral("Fernwick Labs, Inc.");
} // namespace

QString standardErrorText(const RuntimeError& error)
{
    return QStringLiteral("Error %1 has occurred.  %2\rContact Fernwick for assistance.")
        .arg(error.number())
        .arg(error.text());
}

MainModule::MainModule(const Platform& platform, RegModule& reg)
    : platform(platform), reg(reg), connectionPrefix_(QUuid::createUuid().toString(QUuid::WithoutBraces))
{
}

MainModule::~MainModule()
{
    if (QSqlDatabase::contains(taskConnection())) {
        QSqlDatabase::database(taskConnection(), false).close();
        QSqlDatabase::removeDatabase(taskConnection());
    }
}

QString MainModule::taskConnection() const
{
    return connectionPrefix_ + QStringLiteral("-task");
}

QSqlDatabase MainModule::TaskDatabase() const
{
    requireTaskDatabase();
    return QSqlDatabase::database(taskConnection(), false);
}

void MainModule::requireTaskDatabase() const
{
    if (!hasTaskDatabase())
        throw RuntimeError(error::NoDataFile, QDir::toNativeSeparators(DataPath));
}

bool MainModule::hasTaskDatabase() const
{
    return QSqlDatabase::database(taskConnection(), false).isOpen();
}

void MainModule::openTaskDatabase()
{
    store::DataFileHealth& health =
        store::DataFileHealth::of(store::openDataFile(DataPath, taskConnection()));
    QObject::connect(&health, &store::DataFileHealth::damageFound, &receiver_,
                     [this, &health] { reportError(health.damagedError()); });
    health.startCheck();
}

void MainModule::CenterForm(QWidget& form) const
{
    if (!form.isVisible())
        form.adjustSize();
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    const QSize size = form.frameGeometry().size();
    form.move(screen.x() + (screen.width() - size.width()) / 2,
              screen.y() + (screen.height() - size.height()) / 2);
}

void MainModule::RestoreTopmost()
{
    if (!RestoreOnTop)
        return;
    if (onTopItem)
        onTopItem->setChecked(true);
    RestoreOnTop = false;
}

void MainModule::ShowErrorText(const RuntimeError& error) const
{
    platform.prompter.message(
        {error.text(), QStringLiteral("Horalog"), MessageButtons::Ok, MessageIcon::None});
}

void MainModule::setTopmost(QWidget& form, bool topmost) const
{
    if (form.windowFlags().testFlag(Qt::WindowStaysOnTopHint) == topmost)
        return;
    const bool visible = form.isVisible();
    const QPoint position = form.pos();
    form.setWindowFlag(Qt::WindowStaysOnTopHint, topmost);
    if (visible) {
        form.move(position);
        form.show();
    }
}

void MainModule::launchHelp() const
{
    platform.process.openDocument(ProgramFiles::ofThisProgram().helpPage());
}

void MainModule::showAbout()
{
    showModal(new AboutForm(*this, AboutForm::Mode::Dialog));
}

bool MainModule::windowPresent(const QString& caption) const
{
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (window->windowTitle() == caption)
            return true;
    }
    return false;
}

void MainModule::showModal(QWidget* form)
{
    QPointer<QWidget> guard(form);
    form->setAttribute(Qt::WA_DeleteOnClose);
    form->setWindowModality(Qt::ApplicationModal);
    QEventLoop loop;
    QObject::connect(form, &QObject::destroyed, &loop, &QEventLoop::quit);
    form->show();
    if (guard)
        loop.exec();
}

void MainModule::reportError(const RuntimeError& error) const
{
    platform.prompter.message(
        {standardErrorText(error), kErrorTitle, MessageButtons::Ok, MessageIcon::Critical, Answer::Ok});
}

BusyPointer::BusyPointer(QWidget* window) : window_(window), processWide_(window == nullptr)
{
    if (processWide_)
        QApplication::setOverrideCursor(Qt::WaitCursor);
    else
        window_->setCursor(Qt::WaitCursor);
}

BusyPointer::~BusyPointer()
{
    if (processWide_)
        QApplication::restoreOverrideCursor();
    else if (window_)
        window_->unsetCursor();
}

} // namespace horalog
