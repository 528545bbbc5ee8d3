#include "timing/TimerForm.h"

#include "app/MainModule.h"
#include "app/RegModule.h"
#include "clients/Client.h"
#include "controls/BoxRules.h"
#include "controls/Fonts.h"
#include "controls/StatusBar.h"
#include "controls/Twips.h"
#include "employees/EmployeeForm.h"
#include "platform/Formats.h"
#include "timing/TimingRules.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QSignalBlocker>
#include <algorithm>

namespace horalog
{

namespace
{

const QColor kTeal(0, 192, 192);
const QColor kReadOnlyGrey(224, 224, 224);
const QString kCancelTimingQuestion =
    QStringLiteral("You are about to cancel the timing of this task.  Do you really want to do this?");
const QString kStatusHintArea = QStringLiteral("Right-click for options");

struct ToolbarButton {
    QString caption;
    QRect twips;
    QString hint;
};

const std::array<ToolbarButton, 5> kToolbar{{
    {QString(), {2400, 2280, 600, 600}, QStringLiteral("Start/Stop Timer")},
    {QStringLiteral("&Clients"), {960, 3000, 735, 375}, QStringLiteral("Edit Clients")},
    {QStringLiteral("&Hours"), {3000, 3000, 735, 375}, QStringLiteral("View Reports")},
    {QStringLiteral("E&xit"), {3840, 3000, 795, 375}, QStringLiteral("Exit")},
    {QStringLiteral("&Employees"), {1800, 3000, 1095, 375}, QStringLiteral("Edit Employees")},
}};

QLabel* makeLabel(QWidget* parent, const QString& caption, int left, int top, int width, int height)
{
    auto* label = new QLabel(caption, parent);
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    placeTwips(label, left, top, width, height);
    return label;
}

QLineEdit* makeReadOnlyBox(QWidget* parent, int left, int top, int width, int height)
{
    auto* box = new QLineEdit(parent);
    box->setReadOnly(true);
    QPalette palette = box->palette();
    palette.setColor(QPalette::Base, kReadOnlyGrey);
    box->setPalette(palette);
    placeTwips(box, left, top, width, height);
    return box;
}

QComboBox* makeList(QWidget* parent, int left, int top, int width, int height)
{
    auto* list = new QComboBox(parent);
    list->setEditable(false);
    placeTwips(list, left, top, width, height);
    return list;
}

bool askCancelTiming(const MainModule& module)
{
    return module.platform.prompter.message({kCancelTimingQuestion, QStringLiteral("Fernwick Labs, Inc."),
                                             MessageButtons::YesNo, MessageIcon::Critical, Answer::No}) ==
           Answer::Yes;
}

} // namespace

void fillSortedList(QComboBox* list, QStringList items)
{
    std::sort(items.begin(), items.end(),
              [](const QString& a, const QString& b) { return a.compare(b, Qt::CaseInsensitive) < 0; });
    const QSignalBlocker blocker(list);
    list->clear();
    list->addItems(items);
    list->setCurrentIndex(-1);
}

TimerForm::TimerForm(MainModule& module) : Form(module, QStringLiteral("Horalog 96"), 4875, 3810)
{
    module_.mainWindow = this;
    setFont(sansSerif(8.25, true));
    setClientBackground(kTeal);
    buildControls();
    buildToolbar();
    buildMenus();
    module_.onTopItem = FloatMenuItem;
    Form_Load();
}

void TimerForm::buildControls()
{
    QWidget* area = client();
    Label4 = makeLabel(area, QStringLiteral("Employee"), 0, 120, 855, 255);
    EmployeeList = makeList(area, 960, 120, 3645, 315);
    ClientLabel = makeLabel(area, QStringLiteral("Client"), 240, 600, 615, 255);
    ClientList = makeList(area, 960, 600, 3645, 315);
    ProjectLabel = makeLabel(area, QStringLiteral("Project"), 240, 1080, 615, 255);
    Project = new QLineEdit(area);
    placeTwips(Project, 960, 1080, 3645, 300);
    TaskLabel = makeLabel(area, QStringLiteral("Task"), 240, 1560, 615, 255);
    Task = new QLineEdit(area);
    placeTwips(Task, 960, 1560, 3645, 300);
    StartLabel = makeLabel(area, QStringLiteral("Start"), 240, 2040, 615, 255);
    StartTime = makeReadOnlyBox(area, 960, 2040, 1000, 300);
    StartTime->setFocusPolicy(Qt::ClickFocus);
    Billable = new QCheckBox(QStringLiteral("Billable"), area);
    placeTwips(Billable, 2040, 2040, 975, 195);
    DateLabel = makeLabel(area, QStringLiteral("Date"), 2880, 2040, 615, 255);
    DateToday = makeReadOnlyBox(area, 3600, 2040, 1000, 300);
    Label2 = makeLabel(area, QStringLiteral("End"), 240, 2520, 615, 255);
    EndTime = makeReadOnlyBox(area, 960, 2520, 1000, 300);
    EndTime->setFocusPolicy(Qt::ClickFocus);
    Label3 = makeLabel(area, QStringLiteral("Hours"), 3120, 2520, 615, 255);
    Hours = makeReadOnlyBox(area, 3840, 2520, 765, 300);

    StatusBar1 = new StatusBar(module_.platform.clock,
                               {{StatusBar::Style::Text, 1890, false, QString()},
                                {StatusBar::Style::Text, 900, false, QStringLiteral("Alarm: Off")},
                                {StatusBar::Style::Time, 900, false, QString()},
                                {StatusBar::Style::Date, 900, false, QString()}},
                               area);
    placeTwips(StatusBar1, 0, 3510, 4875, 300);
    StatusBar1->showHintFor(area, QString());
    connect(StatusBar1, &StatusBar::mouseMoved, this, &TimerForm::StatusBar1_MouseMove);

    selectAllOnEntry(Project);
    selectAllOnEntry(Task);

    connect(EmployeeList, &QComboBox::currentIndexChanged, this, &TimerForm::EmployeeList_Click);
    connect(ClientList, &QComboBox::currentIndexChanged, this, &TimerForm::ClientList_Click);
}

void TimerForm::buildToolbar()
{
    for (int i = 0; i < int(kToolbar.size()); ++i) {
        const ToolbarButton& item = kToolbar[size_t(i)];
        auto* button = new QPushButton(item.caption, client());
        button->setGeometry(
            twipsRect(item.twips.x(), item.twips.y(), item.twips.width(), item.twips.height()));
        StatusBar1->showHintFor(button, item.hint);
        connect(button, &QPushButton::clicked, this, [this, i] { SSCommand1_Click(i); });
        SSCommand1[size_t(i)] = button;
    }
    SSCommand1[0]->setIcon(windowIcon());
    SSCommand1[0]->setIconSize(QSize(32, 32));
    SSCommand1[0]->setAccessibleName(QStringLiteral("Start/Stop"));
    // The Hours window arrives later; its button waits disabled.
    SSCommand1[2]->setEnabled(false);

    QWidget::setTabOrder(EmployeeList, ClientList);
    QWidget::setTabOrder(ClientList, Project);
    QWidget::setTabOrder(Project, Task);
    QWidget::setTabOrder(Task, Billable);
    QWidget::setTabOrder(Billable, SSCommand1[0]);
    QWidget::setTabOrder(SSCommand1[0], SSCommand1[4]);
    QWidget::setTabOrder(SSCommand1[4], SSCommand1[1]);
    QWidget::setTabOrder(SSCommand1[1], SSCommand1[2]);
    QWidget::setTabOrder(SSCommand1[2], SSCommand1[3]);
}

void TimerForm::buildMenus()
{
    QMenu* fileMenu = menuBar()->addMenu(QStringLiteral("&File"));
    ImportMenuItem = fileMenu->addAction(QStringLiteral("&Import"));
    ImportMenuItem->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_I));
    ImportMenuItem->setEnabled(false);
    FloatMenuItem = fileMenu->addAction(QStringLiteral("&On Top"));
    FloatMenuItem->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_F));
    FloatMenuItem->setCheckable(true);
    connect(FloatMenuItem, &QAction::toggled, this, [this](bool onTop) { module_.setTopmost(*this, onTop); });
    fileMenu->addSeparator();
    FileExit = fileMenu->addAction(QStringLiteral("E&xit"));
    FileExit->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_F4));
    connect(FileExit, &QAction::triggered, this, [this] { SSCommand1_Click(3); });

    QMenu* editMenu = menuBar()->addMenu(QStringLiteral("&Edit"));
    EmployeeMenuItem = editMenu->addAction(QStringLiteral("&Employees"));
    EmployeeMenuItem->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_E));
    connect(EmployeeMenuItem, &QAction::triggered, this, [this] { SSCommand1_Click(4); });
    ClientMenuItem = editMenu->addAction(QStringLiteral("&Clients"));
    ClientMenuItem->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_C));
    connect(ClientMenuItem, &QAction::triggered, this, [this] { SSCommand1_Click(1); });
    editMenu->addSeparator();
    AlarmMenuItem = editMenu->addAction(QStringLiteral("&Alarms"));
    AlarmMenuItem->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_A));
    AlarmMenuItem->setEnabled(false);

    QMenu* viewMenu = menuBar()->addMenu(QStringLiteral("&View"));
    HoursMenuItem = viewMenu->addAction(QStringLiteral("&Hours"));
    HoursMenuItem->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_H));
    HoursMenuItem->setEnabled(false);
    viewMenu->addSeparator();
    QMenu* optionsMenu = viewMenu->addMenu(QStringLiteral("&Options"));
    OptionsSubMenu = optionsMenu->addAction(QStringLiteral("Data &Location"));
    OptionsSubMenu->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_L));
    OptionsSubMenu->setEnabled(false);

    const HelpMenu help = addHelpMenu();
    HelpMenuItem = help.help;
    AboutTimer = help.about;
}

void TimerForm::Form_Load()
{
    BusyPointer busy;
    module_.guarded([this] { loadSteps(); });
}

void TimerForm::loadSteps()
{
    module_.StartDir = QDir::currentPath();
    module_.CenterForm(*this);
    readDataPath();
    module_.openTaskDatabase();
    showLatestEntry(fillLists());
    applyOnTopSetting();
}

// The settings give the directory back exactly as written, so nothing is stripped from it. When
// the settings cannot be written, nothing comes back: this run still uses the first start's
// directory. A data directory given for this run only is neither read from nor written to the settings.
void TimerForm::readDataPath()
{
    if (!module_.start.dataDirForThisRun.isEmpty()) {
        module_.DataPath = module_.start.dataDirForThisRun;
        return;
    }
    const RegModule& reg = module_.reg;
    QString dataDir = reg.QueryValue(kHoralogKey, QStringLiteral("DataDir")).toString();
    if (dataDir.isEmpty()) {
        const QString firstDataDir = settleFirstDataDir(module_.start);
        reg.CreateNewKey(kHoralogKey);
        reg.SetKeyValue(kHoralogKey, QStringLiteral("DataDir"), firstDataDir, REG_SZ);
        dataDir = reg.QueryValue(kHoralogKey, QStringLiteral("DataDir")).toString();
        if (dataDir.isEmpty())
            dataDir = firstDataDir;
    }
    module_.DataPath = dataDir;
}

QList<store::EmployeeName> TimerForm::fillLists()
{
    const QSqlDatabase db = module_.TaskDatabase();
    const QList<store::EmployeeName> employees = store::employeeNames(db);
    {
        const QSignalBlocker blocker(EmployeeList);
        EmployeeList->clear();
        for (const store::EmployeeName& employee : employees)
            EmployeeList->addItem(employee.name);
        EmployeeList->setCurrentIndex(-1);
    }
    fillSortedList(ClientList, store::clientNames(db));
    return employees;
}

void TimerForm::showLatestEntry(const QList<store::EmployeeName>& employees)
{
    const QSqlDatabase db = module_.TaskDatabase();
    const std::optional<store::TimesEntry> latest = store::latestEntry(db);
    if (!latest) {
        store::appendEmptyEntry(db);
        return;
    }
    const auto employee =
        std::find_if(employees.cbegin(), employees.cend(),
                     [&](const store::EmployeeName& e) { return e.id == latest->employeeId; });
    if (employee != employees.cend())
        EmployeeList->setCurrentIndex(int(employee - employees.cbegin()));
    showEntry(*latest);
}

void TimerForm::showEntry(const store::TimesEntry& entry)
{
    StartTime->setText(formatTime(entry.start));
    EndTime->setText(formatTime(entry.end));
    Hours->setText(entry.end.isValid() ? formatHours(entry.hours) : QString());
    DateToday->setText(formatShortDate(entry.day));
    Billable->setChecked(entry.billable);
}

void TimerForm::applyOnTopSetting()
{
    const RegModule& reg = module_.reg;
    QString onTop = reg.QueryValue(kHoralogKey, QStringLiteral("OnTop")).toString();
    if (onTop.isEmpty()) {
        reg.SetKeyValue(kHoralogKey, QStringLiteral("OnTop"), QStringLiteral("False"), REG_SZ);
        onTop = reg.QueryValue(kHoralogKey, QStringLiteral("OnTop")).toString();
    }
    if (onTop.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0)
        FloatMenuItem->setChecked(true);
}

void TimerForm::EmployeeList_Click()
{
    if (!EmployeeList->isEnabled() || EmployeeList->currentIndex() < 0)
        return;
    module_.guarded([this] {
        const QSqlDatabase db = module_.TaskDatabase();
        const std::optional<int> employeeId = store::employeeIdByName(db, EmployeeList->currentText());
        if (!employeeId)
            throw RuntimeError(error::NoCurrentRecord);
        module_.CurrentEmployeeID = *employeeId;
        const std::optional<store::RecentWork> work = store::latestWorkOfEmployee(db, *employeeId);
        if (work)
            selectClient(work->client);
    });
}

// Choosing the client runs its handler even when it is already the chosen one, so that the
// project and task always follow the employee's latest work for it.
void TimerForm::selectClient(const QString& client)
{
    if (client.isEmpty()) {
        ClientList->setCurrentIndex(-1);
        return;
    }
    const int index = ClientList->findText(client, Qt::MatchFixedString);
    if (index < 0)
        throw RuntimeError(error::InvalidPropertyValue, client);
    if (index == ClientList->currentIndex())
        ClientList_Click();
    else
        ClientList->setCurrentIndex(index);
}

void TimerForm::ClientList_Click()
{
    if (ClientList->currentIndex() < 0)
        return;
    module_.guarded([this] {
        const std::optional<store::RecentWork> work = store::latestWorkForClient(
            module_.TaskDatabase(), module_.CurrentEmployeeID, ClientList->currentText());
        if (!work)
            return;
        Project->setText(work->project);
        Task->setText(work->task);
    });
}

void TimerForm::FloatMenuItem_Click()
{
    FloatMenuItem->toggle();
}

void TimerForm::StatusBar1_MouseMove(const QPoint& twips)
{
    const bool overAlarmPanel = twips.x() >= 1920 && twips.x() <= 2820 && twips.y() <= 240;
    StatusBar1->setHint(overAlarmPanel ? kStatusHintArea : QString());
}

void TimerForm::SSCommand1_Click(int Index)
{
    module_.guarded([this, Index] {
        // Without a data file every command but Exit says so once, before any window opens.
        if (Index != 3)
            module_.requireTaskDatabase();
        std::optional<BusyPointer> busy(std::in_place, this);
        // Paint the hourglass, but keep a second click waiting until this one is done.
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        switch (Index) {
        case 0:
            if (isTiming())
                stopTiming();
            else
                startTiming();
            break;
        case 1:
            dropOnTopWhileModal();
            module_.SelectedClient = ClientList->currentText();
            busy.reset();
            module_.showModal(new Client(module_));
            break;
        case 3:
            exitProgram();
            break;
        case 4:
            busy.reset();
            module_.showModal(new EmployeeForm(module_));
            break;
        default:
            break;
        }
    });
}

// A modal window must not sit below the main window; RestoreTopmost brings the state back.
void TimerForm::dropOnTopWhileModal()
{
    if (!FloatMenuItem->isChecked())
        return;
    FloatMenuItem_Click();
    module_.RestoreOnTop = true;
}

void TimerForm::startTiming()
{
    store::TimesEntry entry;
    entry.start = toWholeSecond(module_.platform.clock.now());
    entry.day = entry.start.date();
    pending_ = entry;
    StartTime->setText(formatTime(entry.start));
    DateToday->setText(formatShortDate(entry.day));
    EndTime->clear();
    Hours->clear();
    emit timingChanged();
}

// The window shows the stop only once the entry is saved: a failed save keeps the timing going,
// so the next press tries again and no work is lost.
void TimerForm::stopTiming()
{
    store::TimesEntry entry = *pending_;
    entry.end = toWholeSecond(module_.platform.clock.now());
    entry.hours = hoursFromMinutes(minuteBoundaries(entry.start, entry.end));
    entry.employeeId = module_.CurrentEmployeeID;
    entry.client = ClientList->currentText();
    entry.project = Project->text();
    entry.task = Task->text();
    entry.billable = Billable->isChecked();
    store::appendEntry(module_.TaskDatabase(), entry);
    pending_.reset();
    EndTime->setText(formatTime(entry.end));
    Hours->setText(formatHours(entry.hours));
    emit timingChanged();
}

void TimerForm::exitProgram()
{
    if (!isTiming()) {
        close();
        return;
    }
    if (askCancelTiming(module_))
        module_.platform.process.exitNow();
}

bool TimerForm::Form_QueryUnload()
{
    return !isTiming() || askCancelTiming(module_);
}

void TimerForm::Form_Unload()
{
    module_.guarded([this] {
        module_.reg.SetKeyValue(kHoralogKey, QStringLiteral("OnTop"),
                                FloatMenuItem->isChecked() ? QStringLiteral("True") : QStringLiteral("False"),
                                REG_SZ);
    });
}

} // namespace horalog
