#include "alarms/AlarmMessageForm.h"

#include "app/MainModule.h"
#include "controls/Fonts.h"
#include "controls/Twips.h"

#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QWindow>

namespace horalog
{

namespace
{
constexpr int kClientWidth = 3180;
constexpr int kClientHeight = 2115;
const QRect kPanel(240, 240, 2655, 1335);
const QRect kOkButton(1200, 1680, 975, 375);
constexpr int kSoundIntervalMs = 10000;
constexpr int kLifetimeMs = 60000;
} // namespace

AlarmMessageForm::AlarmMessageForm(MainModule& module)
    : Form(module, QStringLiteral("Alarm Message"), kClientWidth, kClientHeight),
      SSPanel1(new QLabel(client())), Command1(new QPushButton(QStringLiteral("&OK"), client())),
      Timer1(new QTimer(this)), Timer2(new QTimer(this))
{
    module_.alarmMessageForm = this;
    setFont(sansSerif());
    SSPanel1->setFrameStyle(QFrame::Panel | QFrame::Raised);
    SSPanel1->setLineWidth(2);
    SSPanel1->setAlignment(Qt::AlignCenter);
    SSPanel1->setWordWrap(true);
    SSPanel1->setFont(sansSerif(12, true));
    placeTwips(SSPanel1, kPanel.x(), kPanel.y(), kPanel.width(), kPanel.height());
    placeTwips(Command1, kOkButton.x(), kOkButton.y(), kOkButton.width(), kOkButton.height());
    Command1->setDefault(true);
    connect(Command1, &QPushButton::clicked, this, &QWidget::close);

    Timer1->setInterval(kSoundIntervalMs);
    connect(Timer1, &QTimer::timeout, this, &AlarmMessageForm::Timer1_Timer);
    Timer2->setInterval(kLifetimeMs);
    Timer2->setSingleShot(true);
    connect(Timer2, &QTimer::timeout, this, &AlarmMessageForm::Timer2_Timer);
    Form_Load();
}

void AlarmMessageForm::Form_Load()
{
    module_.setTopmost(*this, true);
    move(frameCorner());
    Timer1->start();
    Timer2->start();
}

// The sound starts with the alert itself rather than with its activation: a window manager may keep
// a window that appears while the user types elsewhere from becoming active.
void AlarmMessageForm::announce(const QString& text)
{
    SSPanel1->setText(text);
    fitAnnouncement();
    if (isVisible())
        raise();
    show();
    activateWindow();
    if (!announced_) {
        announced_ = true;
        Timer1_Timer();
    }
}

// A long description makes the panel taller, so that the whole reminder shows.
void AlarmMessageForm::fitAnnouncement()
{
    const int needed = SSPanel1->heightForWidth(SSPanel1->width());
    const int grow = qMax(0, needed - pixels(kPanel.height()));
    const QSize area = twipsSize(kClientWidth, kClientHeight) + QSize(0, grow);
    if (client()->size() == area)
        return;
    SSPanel1->setFixedHeight(pixels(kPanel.height()) + grow);
    Command1->move(Command1->x(), pixels(kOkButton.y()) + grow);
    client()->setFixedSize(area);
}

// The frame, title bar and all, takes the screen's corner. X11 window managers put a new window's
// frame around the place it asks for, so there it asks for the place inside a frame like the main
// window's; elsewhere the place asked for is the frame's own.
QPoint AlarmMessageForm::frameCorner() const
{
    const QWidget* framed = module_.mainWindow;
    if (QGuiApplication::platformName() != QLatin1String("xcb") || !framed || !framed->windowHandle())
        return {};
    const QPoint inset = framed->geometry().topLeft() - framed->frameGeometry().topLeft();
    return {qMax(0, inset.x()), qMax(0, inset.y())};
}

void AlarmMessageForm::Timer1_Timer()
{
    module_.platform.sound.play(module_.AlarmSoundFile);
}

void AlarmMessageForm::Timer2_Timer()
{
    close();
}

void AlarmMessageForm::Form_Unload()
{
    Timer1->stop();
    Timer2->stop();
    module_.alarmMessageForm = nullptr;
    emit unloaded();
}

} // namespace horalog
