#include "timing/TrayIcon.h"

#include "platform/Formats.h"
#include "timing/TimerForm.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>

namespace horalog
{

namespace
{
const QString kIdleIcon = QStringLiteral(":/icons/stopwatch.svg");
const QString kTimingIcon = QStringLiteral(":/icons/stopwatch-running.svg");
} // namespace

// The tip follows the window: what a stop would record is what the window shows.
TrayIcon::TrayIcon(TimerForm& form) : QObject(&form), form_(form), icon_(new QSystemTrayIcon(this))
{
    connect(&form, &TimerForm::timingChanged, this, &TrayIcon::refresh);
    connect(form.ClientList, &QComboBox::currentTextChanged, this, &TrayIcon::refresh);
    connect(form.Project, &QLineEdit::textChanged, this, &TrayIcon::refresh);
    connect(icon_, &QSystemTrayIcon::activated, this, &TrayIcon::onActivated);
    refresh();
    if (QSystemTrayIcon::isSystemTrayAvailable())
        icon_->show();
}

void TrayIcon::refresh()
{
    const std::optional<store::TimesEntry>& timing = form_.pendingEntry();
    icon_->setIcon(QIcon(timing ? kTimingIcon : kIdleIcon));
    icon_->setToolTip(
        timing ? QStringLiteral("Timing %1 / %2 since %3")
                     .arg(form_.ClientList->currentText(), form_.Project->text(), formatTime(timing->start))
               : QStringLiteral("Not timing"));
}

void TrayIcon::onActivated(QSystemTrayIcon::ActivationReason reason)
{
    if (reason == QSystemTrayIcon::Trigger || reason == QSystemTrayIcon::DoubleClick)
        bringForward();
}

// A modal window open over the main window comes forward with it, on top.
void TrayIcon::bringForward()
{
    form_.setWindowState(form_.windowState() & ~Qt::WindowMinimized);
    form_.show();
    form_.raise();
    form_.activateWindow();
    if (QWidget* modal = QApplication::activeModalWidget()) {
        modal->raise();
        modal->activateWindow();
    }
}

} // namespace horalog
