#include "alarms/AlarmForm.h"

#include "alarms/AlarmMessageForm.h"
#include "alarms/AlarmRules.h"
#include "alarms/AlarmSwitch.h"
#include "app/MainModule.h"
#include "app/RecordForm.h"
#include "app/RegModule.h"
#include "controls/Fonts.h"
#include "controls/SpinButton.h"
#include "controls/StatusBar.h"
#include "controls/Twips.h"
#include "platform/Formats.h"
#include "store/Catalogue.h"
#include "timing/TimerForm.h"

#include <QComboBox>
#include <QDir>
#include <QEvent>
#include <QFileInfo>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScopedValueRollback>
#include <QSignalBlocker>
#include <QSqlRecord>
#include <QTimer>

namespace horalog
{

namespace
{

constexpr int kClientWidth = 4935;
constexpr int kClientHeight = 4620;
constexpr int kCheckIntervalMs = 10000;
constexpr int kOptionHeight = 255;

// The hidden boxes by their index, and the fields they are bound to.
enum Box { TimeBox = 0, SoundBox = 1, MonthDayBox = 2, SoundNameBox = 3, RecurrenceBox = 4, WeekDayBox = 5 };
const std::array<QString, 6> kBoundFields{
    QStringLiteral("AlarmTime"), QStringLiteral("AlarmSound"), QStringLiteral("MonthDay"),
    QStringLiteral("SoundName"), QStringLiteral("Recurrence"), QStringLiteral("WeekDay"),
};

const QString kTitle = QStringLiteral("Horalog");
const QString kDefaultSound = QStringLiteral("BeepBeep.wav");
const QString kDeleteHint = QStringLiteral("Delete removes alarm");

struct OptionSpec {
    QString caption;
    QRect twips;
};

const std::array<OptionSpec, 4> kWhenOptions{{
    {QStringLiteral("in 10 minutes"), {240, 360, 1695, kOptionHeight}},
    {QStringLiteral("in a half hour"), {240, 720, 1695, kOptionHeight}},
    {QStringLiteral("in 1 hour"), {240, 1080, 1695, kOptionHeight}},
    {QStringLiteral("at the hour"), {240, 1440, 1695, kOptionHeight}},
}};

// "Weekly" and "Monthly" end where the weekday list and the month-day spin button begin.
const std::array<OptionSpec, 4> kRecurrenceOptions{{
    {QStringLiteral("Just Today"), {120, 360, 2175, kOptionHeight}},
    {QStringLiteral("Every Day"), {120, 720, 2175, kOptionHeight}},
    {QStringLiteral("Weekly"), {120, 1080, 945, kOptionHeight}},
    {QStringLiteral("Monthly"), {120, 1440, 1305, kOptionHeight}},
}};

struct PictureButtonSpec {
    QString picture;
    QString name;
    QString hint;
    QRect twips;
};

const std::array<PictureButtonSpec, 3> kCommandButtons{{
    {QStringLiteral(":/icons/new.svg"),
     QStringLiteral("New alarm"),
     QStringLiteral("Add new alarm"),
     {2400, 3480, 615, 615}},
    {QString(), QStringLiteral("Set alarm"), QString(), {3300, 3480, 615, 615}},
    {QStringLiteral(":/icons/close.svg"),
     QStringLiteral("Close"),
     QStringLiteral("Close"),
     {4200, 3480, 615, 615}},
}};

const std::array<PictureButtonSpec, 2> kSoundButtons{{
    {QStringLiteral(":/icons/sound.svg"),
     QStringLiteral("Select sound"),
     QStringLiteral("Select sound"),
     {2400, 720, 600, 600}},
    {QStringLiteral(":/icons/speaker.svg"),
     QStringLiteral("Test sound"),
     QStringLiteral("Test sound"),
     {4200, 720, 600, 600}},
}};

QPushButton* makePictureButton(QWidget* parent, const PictureButtonSpec& item)
{
    auto* button = new QPushButton(parent);
    if (!item.picture.isEmpty())
        button->setIcon(QIcon(item.picture));
    button->setIconSize(QSize(32, 32));
    button->setAccessibleName(item.name);
    placeTwips(button, item.twips.x(), item.twips.y(), item.twips.width(), item.twips.height());
    return button;
}

QRadioButton* makeOption(QWidget* frame, const OptionSpec& item)
{
    auto* option = new QRadioButton(item.caption, frame);
    placeTwips(option, item.twips.x(), item.twips.y(), item.twips.width(), item.twips.height());
    return option;
}

// A display the user cannot enter, whose text still reads plainly; `grey` gives it a grey ground.
QLineEdit* makeDisplay(QWidget* parent, const QRect& twips, bool grey)
{
    auto* box = new QLineEdit(parent);
    box->setEnabled(false);
    QPalette palette = box->palette();
    palette.setColor(QPalette::Disabled, QPalette::Text, palette.color(QPalette::Active, QPalette::Text));
    if (grey)
        palette.setColor(QPalette::Disabled, QPalette::Base, QColor(192, 192, 192));
    box->setPalette(palette);
    placeTwips(box, twips.x(), twips.y(), twips.width(), twips.height());
    return box;
}

// The hint panel is as wide as its longest hint needs.
int hintPanelTwips()
{
    const QFontMetrics metrics(sansSerif());
    constexpr int kPanelMargins = 10;
    return qMax(1660, twipsFromPixels(metrics.horizontalAdvance(kDeleteHint) + kPanelMargins));
}

// A "Just Today" alarm has rung once its alert is gone: it leaves the data file, and the Alarms
// window, when loaded, follows.
void forgetJustTodayAlarm(MainModule& module, int alarmId)
{
    module.guarded([&module, alarmId] { store::deleteAlarm(module.TaskDatabase(), alarmId); });
    if (module.alarmForm)
        module.alarmForm->alarmRemoved();
}

} // namespace

AlarmForm::AlarmForm(MainModule& module)
    : Form(module, QStringLiteral("Alarms"), kClientWidth, kClientHeight), Data1(new DataControl(client())),
      StatusBar1(new StatusBar(module.platform.clock,
                               {{StatusBar::Style::Text, hintPanelTwips(), false, QString()},
                                {StatusBar::Style::Text, 200, true, QString()},
                                {StatusBar::Style::Time, 900, false, QString()},
                                {StatusBar::Style::Date, 900, false, QString()}},
                               client())),
      Timer1(new QTimer(this))
{
    module_.alarmForm = this;
    setFont(sansSerif());
    Data1->hide();
    placeTwips(StatusBar1, 0, 4320, kClientWidth, 300);
    buildList();
    buildWhen();
    buildRecurrence();
    buildButtons();
    buildBoundBoxes();
    buildMenus();
    client()->installEventFilter(this);
    Timer1->setInterval(kCheckIntervalMs);
    connect(Timer1, &QTimer::timeout, this, &AlarmForm::Timer1_Timer);
    connect(Data1, &DataControl::Reposition, this, &AlarmForm::Data1_Reposition);
    superviseWrites(module_, Data1);
    Form_Load();
}

void AlarmForm::buildList()
{
    DBList1 = new QListWidget(client());
    placeTwips(DBList1, 120, 240, 2055, 1035);
    DBList1->setWordWrap(true);
    DBList1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    DBList1->installEventFilter(this);
    connect(DBList1, &QListWidget::currentRowChanged, this, [this](int row) {
        if (row >= 0)
            DBList1_Click();
    });

    Label1[1] = new QLabel(QStringLiteral("Sound:"), client());
    placeTwips(Label1[1], 2400, 240, 615, 255);
    Label1[0] = new QLabel(QStringLiteral("Time:"), client());
    placeTwips(Label1[0], 120, 3720, 615, 255);
}

void AlarmForm::buildWhen()
{
    Frame1 = new QGroupBox(QStringLiteral("When"), client());
    placeTwips(Frame1, 120, 1440, 2055, 1935);
    for (int i = 0; i < int(Option1.size()); ++i) {
        Option1[size_t(i)] = makeOption(Frame1, kWhenOptions[size_t(i)]);
        connect(Option1[size_t(i)], &QRadioButton::toggled, this, [this, i](bool on) {
            if (on)
                Option1_Click(i);
        });
    }

    SpinButton2[0] = new SpinButton(client());
    placeTwips(SpinButton2[0], 600, 3600, 255, 375);
    Text2[0] = makeDisplay(client(), {960, 3645, 855, 285}, false);
    SpinButton2[1] = new SpinButton(client());
    placeTwips(SpinButton2[1], 1920, 3600, 255, 375);
    for (int i = 0; i < int(SpinButton2.size()); ++i) {
        connect(SpinButton2[size_t(i)], &SpinButton::SpinUp, this, [this, i] { SpinButton2_Spin(i, 1); });
        connect(SpinButton2[size_t(i)], &SpinButton::SpinDown, this, [this, i] { SpinButton2_Spin(i, -1); });
    }
}

void AlarmForm::buildRecurrence()
{
    Frame2 = new QGroupBox(QStringLiteral("Recurrence"), client());
    placeTwips(Frame2, 2400, 1440, 2415, 1935);
    for (int i = 0; i < int(Option2.size()); ++i) {
        Option2[size_t(i)] = makeOption(Frame2, kRecurrenceOptions[size_t(i)]);
        connect(Option2[size_t(i)], &QRadioButton::toggled, this, [this, i](bool on) {
            if (on)
                Option2_Click(i);
        });
    }
    {
        const QSignalBlocker blocker(Option2[JustToday]);
        Option2[JustToday]->setChecked(true);
    }

    Combo1 = new QComboBox(Frame2);
    placeTwips(Combo1, 1080, 1080, 1215, 315);
    Combo1->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    Combo1->setVisible(false);
    connect(Combo1, &QComboBox::currentIndexChanged, this, &AlarmForm::Combo1_Click);

    SpinButton1 = new SpinButton(Frame2);
    placeTwips(SpinButton1, 1440, 1440, 255, 375);
    SpinButton1->setVisible(false);
    connect(SpinButton1, &SpinButton::SpinUp, this, [this] { SpinButton1_Spin(1); });
    connect(SpinButton1, &SpinButton::SpinDown, this, [this] { SpinButton1_Spin(-1); });
    Text2[2] = makeDisplay(Frame2, {1800, 1485, 495, 285}, true);
    Text2[2]->setVisible(false);
}

void AlarmForm::buildButtons()
{
    for (int i = 0; i < int(SSCommand1.size()); ++i) {
        SSCommand1[size_t(i)] = makePictureButton(client(), kCommandButtons[size_t(i)]);
        StatusBar1->showHintFor(SSCommand1[size_t(i)], kCommandButtons[size_t(i)].hint);
        connect(SSCommand1[size_t(i)], &QPushButton::clicked, this, [this, i] { SSCommand1_Click(i); });
    }
    for (int i = 0; i < int(SSCommand2.size()); ++i) {
        SSCommand2[size_t(i)] = makePictureButton(client(), kSoundButtons[size_t(i)]);
        StatusBar1->showHintFor(SSCommand2[size_t(i)], kSoundButtons[size_t(i)].hint);
        connect(SSCommand2[size_t(i)], &QPushButton::clicked, this, [this, i] { SSCommand2_Click(i); });
    }
}

void AlarmForm::buildBoundBoxes()
{
    for (int i = 0; i < int(Text1.size()); ++i) {
        Text1[size_t(i)] = new QLineEdit(client());
        Text1[size_t(i)]->setVisible(false);
        connect(Text1[size_t(i)], &QLineEdit::textChanged, this, [this, i] { Text1_Change(i); });
    }
    Text1[TimeBox]->setEnabled(false);
    QLineEdit* soundName = Text1[SoundNameBox];
    soundName->setReadOnly(true);
    placeTwips(soundName, 3120, 240, 1695, 285);
    soundName->setVisible(true);
}

void AlarmForm::buildMenus()
{
    QMenu* fileMenu = menuBar()->addMenu(QStringLiteral("&File"));
    NewMenuItem = fileMenu->addAction(QStringLiteral("&New Alarm"));
    NewMenuItem->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_N));
    connect(NewMenuItem, &QAction::triggered, this, [this] { SSCommand1_Click(0); });
    DeleteMenuItem = fileMenu->addAction(QStringLiteral("&Delete Alarm"));
    DeleteMenuItem->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_D));
    connect(DeleteMenuItem, &QAction::triggered, this, [this] {
        DBList1->setFocus();
        DBList1_KeyDown(Qt::Key_Delete);
    });
    fileMenu->addSeparator();
    CloseMenuItem = fileMenu->addAction(QStringLiteral("&Close"));
    CloseMenuItem->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_F4));
    connect(CloseMenuItem, &QAction::triggered, this, [this] { SSCommand1_Click(2); });

    EditMenu = menuBar()->addMenu(QStringLiteral("&Edit"));
    SoundMenuItem = EditMenu->addAction(QStringLiteral("&Sound"));
    SoundMenuItem->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    connect(SoundMenuItem, &QAction::triggered, this, [this] { SSCommand2_Click(0); });

    const HelpMenu help = addHelpMenu();
    HelpMenuItem = help.help;
    AboutMenuItem = help.about;
}

void AlarmForm::Form_Load()
{
    employeeId_ = module_.CurrentEmployeeID;
    module_.CenterForm(*this);
    setAlarmControlsEnabled(false);
    {
        const QSignalBlocker blocker(Combo1);
        Combo1->addItems(weekdayNames());
        Combo1->setCurrentIndex(-1);
    }
    fitWeekdayList();
    for (int i = 0; i < int(Text1.size()); ++i)
        Data1->bind(Text1[size_t(i)], kBoundFields[size_t(i)]);
    module_.guarded([this] {
        Data1->setRecordSource(module_.TaskDatabase(), QStringLiteral("ALARMS"), QStringLiteral("AlarmID"),
                               RowFilter{QStringLiteral("EmployeeID"), employeeId_});
        fillAlarmList();
    });
    if (const auto* mainWindow = qobject_cast<TimerForm*>(module_.mainWindow))
        StatusBar1->setPanelText(2, mainWindow->EmployeeList->currentText());
    showCheckingState(module_.AlarmsOn);
    Timer1->start();
}

void AlarmForm::Form_Activate()
{
    if (module_.mainWindow)
        module_.mainWindow->hide();
    if (DBList1->currentRow() < 0 && Data1->rowCount() > 0)
        highlightAlarm(Data1->currentKey());
}

// While checking is on the window only hides, whatever closes it, so that its timer keeps checking;
// the program's own unloads go through unload().
bool AlarmForm::Form_QueryUnload()
{
    if (module_.AlarmsOn && !unloadRequested_) {
        closeOrHide();
        return false;
    }
    bool saved = false;
    module_.guarded([this, &saved] { saved = Data1->saveForUnload(); });
    unloadRequested_ = false;
    return saved;
}

void AlarmForm::Form_Unload()
{
    Timer1->stop();
    module_.alarmForm = nullptr;
    if (module_.mainWindow)
        module_.mainWindow->show();
}

void AlarmForm::unload()
{
    unloadRequested_ = true;
    close();
}

void AlarmForm::showCheckingState(bool on)
{
    SSCommand1[1]->setIcon(
        QIcon(QStringLiteral(":/icons/lighto%1.ico").arg(on ? QStringLiteral("n") : QStringLiteral("ff"))));
    const QString hint = (on ? QStringLiteral("Turn off") : QStringLiteral("Set")) + QStringLiteral(" alarm");
    StatusBar1->showHintFor(SSCommand1[1], hint);
    if (SSCommand1[1]->underMouse())
        StatusBar1->setHint(hint);
}

bool AlarmForm::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == DBList1 && event->type() == QEvent::FocusIn && Data1->rowCount() > 0)
        StatusBar1->setHint(kDeleteHint);
    if (watched == DBList1 && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Delete) {
            DBList1_KeyDown(key);
            return true;
        }
    }
    if (watched == client() && event->type() == QEvent::MouseMove && StatusBar1->panelText(1) != kDeleteHint)
        StatusBar1->setHint(QString());
    return Form::eventFilter(watched, event);
}

void AlarmForm::Data1_Reposition()
{
    const QScopedValueRollback<bool> showing(showingRow_, true);
    for (QRadioButton* option : Option1) {
        const QSignalBlocker blocker(option);
        option->setAutoExclusive(false);
        option->setChecked(false);
        option->setAutoExclusive(true);
    }
    if (Data1->position() < 0)
        return;
    // Selecting "Weekly" sets the weekday to today's first; the row's own comes back after it.
    const int recurrence = boxValue(RecurrenceBox);
    const int weekDay = boxValue(WeekDayBox);
    if (recurrence >= JustToday && recurrence <= Monthly)
        Option2[size_t(recurrence)]->setChecked(true);
    Combo1->setCurrentIndex(weekDay >= 1 && weekDay <= 7 ? weekDay - 1 : -1);
    setAlarmControlsEnabled(true);
}

// The weekday list reaches left, over the room "Weekly" leaves, when the user's longest weekday name
// needs more than its usual width.
void AlarmForm::fitWeekdayList()
{
    const QRect usual = twipsRect(1080, 1080, 1215, 315);
    const int right = pixels(2355);
    const int width = qMin(qMax(usual.width(), Combo1->sizeHint().width()), right - pixels(960));
    const int left = qMin(usual.x(), right - width);
    Combo1->setGeometry(left, usual.y(), width, usual.height());
    QRadioButton* weekly = Option2[Weekly];
    weekly->resize(left - weekly->x(), weekly->height());
}

void AlarmForm::setAlarmControlsEnabled(bool enabled)
{
    for (QWidget* control : {static_cast<QWidget*>(SSCommand2[0]), static_cast<QWidget*>(SSCommand2[1]),
                             static_cast<QWidget*>(SpinButton2[0]), static_cast<QWidget*>(SpinButton2[1]),
                             static_cast<QWidget*>(Frame1), static_cast<QWidget*>(Frame2)})
        control->setEnabled(enabled);
    EditMenu->menuAction()->setEnabled(enabled);
    SoundMenuItem->setEnabled(enabled);
}

void AlarmForm::Text1_Change(int Index)
{
    const QString text = Text1[size_t(Index)]->text();
    if (Index == TimeBox) {
        Text2[0]->setText(formatTime(timeOfDayFromStore(text)));
    } else if (Index == SoundNameBox) {
        // A long name shows from its start; the whole path is in the tip.
        Text1[SoundNameBox]->setCursorPosition(0);
        Text1[SoundNameBox]->setToolTip(Text1[SoundBox]->text());
    } else if (Index == MonthDayBox) {
        Text2[2]->setText(text.isEmpty() ? QString() : text + OrdinalSuffix(text.toInt()));
    }
}

int AlarmForm::boxValue(int index) const
{
    return Text1[size_t(index)]->text().toInt();
}

// The program writes a bound box as if the user had typed into it.
void AlarmForm::setBox(int index, const QString& text)
{
    Text1[size_t(index)]->setText(text);
    Data1->markEdited(Text1[size_t(index)]);
}

// Writes what the boxes hold by moving to the row shown; false when the write failed and the edits
// were kept.
bool AlarmForm::writeEdits()
{
    const QVariant key = Data1->currentKey();
    bool written = false;
    module_.guarded([this, &key, &written] {
        written = Data1->findFirst([&key](const QSqlRecord& row) {
            return key.isValid() && row.value(QStringLiteral("AlarmID")).toLongLong() == key.toLongLong();
        });
    });
    return written;
}

void AlarmForm::Option1_Click(int Index)
{
    if (module_.AlarmsOn && !SettingNewAlarm)
        ToggleAlarms(module_);
    SettingNewAlarm = false;
    setBox(TimeBox, storedTimeOfDay(whenOptionTime(Index, module_.platform.clock.now())));
}

// Showing a row selects its recurrence and weekday; only the user's own change of either switches
// checking off, as every other change of an alarm's timing does.
void AlarmForm::Option2_Click(int Index)
{
    const bool changed = boxValue(RecurrenceBox) != Index;
    if (changed)
        setBox(RecurrenceBox, QString::number(Index));
    Combo1->setVisible(Index == Weekly);
    if (Index == Weekly)
        Combo1->setCurrentIndex(module_.platform.clock.now().date().dayOfWeek() - 1);
    SpinButton1->setVisible(Index == Monthly);
    Text2[2]->setVisible(Index == Monthly);
    if (changed && !showingRow_ && module_.AlarmsOn)
        ToggleAlarms(module_);
}

void AlarmForm::Combo1_Click()
{
    const int position = Combo1->currentIndex();
    if (position < 0)
        return;
    setBox(WeekDayBox, QString::number(position + 1));
    if (!showingRow_ && module_.AlarmsOn)
        ToggleAlarms(module_);
}

void AlarmForm::SpinButton1_Spin(int step)
{
    const int day = steppedMonthDay(boxValue(MonthDayBox), step, module_.platform.clock.now().date());
    setBox(MonthDayBox, QString::number(day));
    if (module_.AlarmsOn)
        ToggleAlarms(module_);
}

void AlarmForm::SpinButton2_Spin(int Index, int step)
{
    if (module_.AlarmsOn)
        ToggleAlarms(module_);
    QTime time = timeOfDayFromStore(Text1[TimeBox]->text());
    if (!time.isValid())
        time = QTime(0, 0);
    setBox(TimeBox, storedTimeOfDay(steppedTime(time, Index, step)));
}

void AlarmForm::SSCommand1_Click(int Index)
{
    switch (Index) {
    case 0:
        newAlarm();
        break;
    case 1:
        setOrTurnOff();
        break;
    default:
        closeOrHide();
        break;
    }
}

void AlarmForm::newAlarm()
{
    const QString description = module_.platform.prompter.input(
        {QStringLiteral("Enter alarm description."), QStringLiteral("New Alarm"), QString()});
    if (description.isEmpty() || !writeEdits())
        return;
    const RegModule& reg = module_.reg;
    QString sound = reg.QueryValue(kHoralogKey, QStringLiteral("Default Sound")).toString();
    if (sound.isEmpty()) {
        reg.SetKeyValue(kHoralogKey, QStringLiteral("Default Sound"), kDefaultSound, REG_SZ);
        sound = reg.QueryValue(kHoralogKey, QStringLiteral("Default Sound")).toString();
    }
    bool added = false;
    module_.guarded([&] {
        store::addAlarm(module_.TaskDatabase(), employeeId_, description, sound, QFileInfo(sound).fileName());
        Data1->refresh();
        Data1->moveLast();
        fillAlarmList();
        added = true;
    });
    if (!added)
        return;
    highlightAlarm(Data1->currentKey());
    SettingNewAlarm = true;
    Option1[0]->setChecked(true);
}

void AlarmForm::setOrTurnOff()
{
    if (Data1->rowCount() == 0) {
        module_.platform.prompter.message({QStringLiteral("There are no alarms to set."), kTitle,
                                           MessageButtons::Ok, MessageIcon::Information});
        return;
    }
    if (writeEdits())
        ToggleAlarms(module_);
}

void AlarmForm::closeOrHide()
{
    if (!module_.AlarmsOn) {
        unload();
        return;
    }
    if (module_.mainWindow)
        module_.mainWindow->show();
    hide();
}

void AlarmForm::SSCommand2_Click(int Index)
{
    if (Index == 0)
        selectSound();
    else
        module_.platform.sound.play(Text1[SoundBox]->text());
}

void AlarmForm::selectSound()
{
    const QString path = module_.platform.prompter.openFile(
        {QStringLiteral("Alarm Sounds"), QStringLiteral("WAV files (*.wav)|*.wav"), QString(), QString()});
    if (!module_.StartDir.isEmpty())
        QDir::setCurrent(module_.StartDir);
    if (path.isEmpty())
        return;
    setBox(SoundBox, path);
    setBox(SoundNameBox, QFileInfo(path).fileName());
    writeEdits();
}

void AlarmForm::DBList1_Click()
{
    const QVariant alarmId = DBList1->currentItem()->data(Qt::UserRole);
    module_.guarded([this, &alarmId] {
        Data1->findFirst([&alarmId](const QSqlRecord& row) {
            return row.value(QStringLiteral("AlarmID")).toLongLong() == alarmId.toLongLong();
        });
    });
}

void AlarmForm::DBList1_KeyDown(int key)
{
    if (key == Qt::Key_Delete)
        deleteAlarm();
}

void AlarmForm::deleteAlarm()
{
    if (Data1->position() < 0)
        return;
    if (module_.platform.prompter.message(
            {QStringLiteral("Are you sure you wish to delete this alarm setting?"),
             QStringLiteral("Delete Alarm?"), MessageButtons::YesNo, MessageIcon::Question, Answer::Yes}) !=
        Answer::Yes)
        return;
    bool deleted = false;
    module_.guarded([this, &deleted] {
        deleted = Data1->deleteCurrent();
        if (deleted && Data1->rowCount() > 0)
            Data1->moveFirst();
        fillAlarmList();
    });
    if (!deleted)
        return;
    if (Data1->rowCount() == 0 && module_.AlarmsOn)
        ToggleAlarms(module_);
    setAlarmControlsEnabled(false);
}

void AlarmForm::fillAlarmList()
{
    const QSignalBlocker blocker(DBList1);
    DBList1->clear();
    for (const auto& [alarmId, description] : store::alarmDescriptions(module_.TaskDatabase(), employeeId_)) {
        auto* item = new QListWidgetItem(description, DBList1);
        item->setData(Qt::UserRole, alarmId);
        item->setToolTip(description);
    }
    DBList1->setCurrentRow(-1);
}

void AlarmForm::highlightAlarm(const QVariant& alarmId)
{
    const QSignalBlocker blocker(DBList1);
    for (int row = 0; row < DBList1->count(); ++row) {
        if (alarmId.isValid() &&
            DBList1->item(row)->data(Qt::UserRole).toLongLong() == alarmId.toLongLong()) {
            DBList1->setCurrentRow(row);
            return;
        }
    }
    DBList1->setCurrentRow(-1);
}

// The alarm check: the first of the employee's alarms that is due is announced. While the alert of a
// "Just Today" alarm is open no check runs, and none starts while another still runs (its error
// report waits for an answer, for example).
void AlarmForm::Timer1_Timer()
{
    if (checking_ || awaitingAlert_ || Data1->rowCount() == 0 || !module_.AlarmsOn)
        return;
    const QScopedValueRollback<bool> running(checking_, true);
    const QDateTime now = module_.platform.clock.now();
    QList<store::AlarmRow> alarms;
    module_.guarded([this, &alarms] { alarms = store::employeeAlarms(module_.TaskDatabase(), employeeId_); });
    for (const store::AlarmRow& alarm : alarms) {
        if (isAlarmDue({alarm.time, alarm.recurrence, alarm.weekDay, alarm.monthDay}, now)) {
            announce(alarm, now);
            return;
        }
    }
}

void AlarmForm::announce(const store::AlarmRow& alarm, const QDateTime& now)
{
    module_.AlarmSoundFile = alarm.sound;
    AlarmMessageForm* alert =
        module_.alarmMessageForm ? module_.alarmMessageForm.data() : new AlarmMessageForm(module_);
    if (alarm.recurrence == JustToday) {
        awaitingAlert_ = true;
        MainModule& module = module_;
        connect(alert, &AlarmMessageForm::unloaded, alert,
                [&module, alarmId = alarm.id] { forgetJustTodayAlarm(module, alarmId); });
    }
    alert->announce(alarmAnnouncement(now, alarm.description));
}

void AlarmForm::alarmRemoved()
{
    awaitingAlert_ = false;
    const QVariant highlighted =
        DBList1->currentRow() >= 0 ? DBList1->currentItem()->data(Qt::UserRole) : QVariant();
    module_.guarded([this] {
        Data1->refresh();
        fillAlarmList();
    });
    highlightAlarm(highlighted);
    if (Data1->rowCount() == 0 && module_.AlarmsOn)
        ToggleAlarms(module_);
}

} // namespace horalog
