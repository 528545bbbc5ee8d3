#include "timing/TimerForm.h"

#include "alarms/AlarmSwitch.h"
#include "app/MainModule.h"
#include "app/RegModule.h"
#include "app/frmMenus.h"
#include "clients/Client.h"
#include "controls/BoxRules.h"
#include "controls/Fonts.h"
#include "controls/StatusBar.h"
#include "controls/Twips.h"
#include "employees/EmployeeForm.h"
#include "platform/Formats.h"
#include "reports/ReportOption.h"
#include "store/DataLocation.h"
#include "store/Import.h"
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
const QString kSessionEndQuestion =
    QStringLiteral("This Windows session is closing and a task is in progress.  Do you wish to continue the "
                   "timing of the current task after Windows restarts?");
const QString kResumeQuestion = QStringLiteral(
    "A task was cancelled when Windows was last ended.  Do you wish to continue the timing of the task?");
const QString kInterruptedQuestion = QStringLiteral(
    "Horalog was ended while a task was being timed (started %1).  Do you wish to continue the "
    "timing of the task?");
const QString kDataLocationQuestion = QStringLiteral(
    "You have chosen to change the data location to:\r%1.\r\rIf you confirm the change, Horalog "
    "will be restarted without regard to any current tasks.\rDo you wish to continue?");
const QString kDataLocationChanged = QStringLiteral(
    "The data location has been changed.\r\rHoralog will now restart for the\rchanges to take effect.");
const QString kDataLocationKept = QStringLiteral("\r\rThe data location was not changed.");

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

bool askQuestion(const MainModule& module, const QString& text, const QString& title)
{
    return module.platform.prompter.message(
               {text, title, MessageButtons::YesNo, MessageIcon::Question, Answer::Yes}) == Answer::Yes;
}

void tell(const MainModule& module, const QString& text, MessageIcon icon)
{
    module.platform.prompter.message({text, QStringLiteral("Horalog"), MessageButtons::Ok, icon, Answer::Ok});
}

QString shownStart(const SavedTiming& saved)
{
    if (!saved.start.isValid())
        return saved.startText;
    return formatShortDate(saved.start.date()) + QLatin1Char(' ') + formatTime(saved.start);
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

TimerForm::TimerForm(MainModule& module)
    : Form(module, QStringLiteral("Horalog 96"), 4875, 3810), recovery_(module.reg)
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
    connect(StatusBar1, &StatusBar::mousePressed, this, [this](Qt::MouseButton button, const QPoint& twips) {
        statusPressButton_ = button;
        statusPressTwips_ = twips;
    });
    connect(StatusBar1, &StatusBar::panelClicked, this, &TimerForm::StatusBar1_PanelClick);

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
    connect(ImportMenuItem, &QAction::triggered, this, &TimerForm::ImportMenuItem_Click);
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
    connect(AlarmMenuItem, &QAction::triggered, this, [this] { showAlarmForm(module_); });

    QMenu* viewMenu = menuBar()->addMenu(QStringLiteral("&View"));
    HoursMenuItem = viewMenu->addAction(QStringLiteral("&Hours"));
    HoursMenuItem->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_H));
    connect(HoursMenuItem, &QAction::triggered, this, [this] { SSCommand1_Click(2); });
    viewMenu->addSeparator();
    QMenu* optionsMenu = viewMenu->addMenu(QStringLiteral("&Options"));
    OptionsSubMenu = optionsMenu->addAction(QStringLiteral("Data &Location"));
    OptionsSubMenu->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_L));
    connect(OptionsSubMenu, &QAction::triggered, this, &TimerForm::OptionsSubMenu_Click);

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

// After an import the lists gain names; what the user has chosen stays chosen and nothing is preset.
void TimerForm::refillListsKeepingChoices()
{
    const QString employee = EmployeeList->currentText();
    const QString client = ClientList->currentText();
    fillLists();
    const QSignalBlocker employeeBlocker(EmployeeList);
    const QSignalBlocker clientBlocker(ClientList);
    EmployeeList->setCurrentIndex(EmployeeList->findText(employee, Qt::MatchExactly));
    ClientList->setCurrentIndex(ClientList->findText(client, Qt::MatchExactly));
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
        // Alarms belong to one employee; another one's are not checked for him or her.
        if (module_.AlarmsOn)
            ToggleAlarms(module_);
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

// A right-click on the alarm panel opens the alarm popup where it was clicked.
void TimerForm::StatusBar1_PanelClick(int panel)
{
    if (statusPressButton_ != Qt::RightButton || panel != 2)
        return;
    frmMenus* carrier = module_.menuForm;
    if (!carrier) {
        carrier = new frmMenus(module_);
        connect(carrier, &frmMenus::toggleChosen, this, [this] { PopupToggleAlarms(module_); });
        connect(carrier, &frmMenus::editChosen, this, [this] { showAlarmForm(module_); });
    }
    carrier->popupAt(
        StatusBar1->mapToGlobal(QPoint(pixels(statusPressTwips_.x()), pixels(statusPressTwips_.y()))));
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
        case 2:
            dropOnTopWhileModal();
            busy.reset();
            module_.showModal(new ReportOption(module_));
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
    const QDateTime now = toWholeSecond(module_.platform.clock.now());
    beginTiming(now, now.date());
}

// The running copy is written once the timing shows its start, so it never holds another one.
void TimerForm::beginTiming(const QDateTime& start, const QDate& day)
{
    store::TimesEntry entry;
    entry.start = start;
    entry.day = day;
    pending_ = entry;
    StartTime->setText(formatTime(entry.start));
    DateToday->setText(formatShortDate(entry.day));
    EndTime->clear();
    Hours->clear();
    recovery_.timingStarted(shownTiming());
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
    recovery_.timingEnded();
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
    if (!askCancelTiming(module_))
        return;
    recovery_.timingEnded();
    module_.platform.process.exitNow();
}

TimingSnapshot TimerForm::shownTiming() const
{
    return {EmployeeList->currentText(),
            ClientList->currentText(),
            Project->text(),
            Task->text(),
            pending_->start,
            pending_->day,
            Billable->isChecked()};
}

void TimerForm::giveUpTiming()
{
    pending_.reset();
    recovery_.timingEnded();
}

// A timing saved for the next start goes without a question: the session that saved it closes the
// window, or the user does, and either way the next start offers it.
bool TimerForm::Form_QueryUnload()
{
    if (!isTiming() || recovery_.savedForResume())
        return true;
    if (!askCancelTiming(module_))
        return false;
    giveUpTiming();
    return true;
}

bool TimerForm::endOfSession(bool canAsk)
{
    sessionEnding_ = true;
    if (!isTiming() || recovery_.savedForResume())
        return true;
    if (!canAsk || askQuestion(module_, kSessionEndQuestion, QStringLiteral("Fernwick"))) {
        recovery_.saveForResume(shownTiming());
        return true;
    }
    if (!askCancelTiming(module_))
        return false;
    giveUpTiming();
    return true;
}

void TimerForm::endedBySignal()
{
    endOfSession(false);
    Form_Unload();
    module_.platform.process.exitNow();
}

// Without a data file a resumed timing could not be recorded: a saved one waits for a start that has one.
bool TimerForm::canRecord() const
{
    try {
        module_.requireTaskDatabase();
        return true;
    } catch (const RuntimeError&) {
        return false;
    }
}

// A timing saved at the end of a session comes first; one left by a program that was killed or
// crashed is offered only when none was saved. While this window times a task, both wait.
void TimerForm::Form_Activate()
{
    if (isTiming() || !canRecord())
        return;
    sessionEnding_ = false;
    module_.guarded([this] {
        if (recovery_.sessionEndMark() != SessionEndMark::None)
            resumeAfterSessionEnd();
        else
            offerInterruptedTiming();
    });
}

void TimerForm::resumeAfterSessionEnd()
{
    const bool resume = recovery_.sessionEndMark() == SessionEndMark::Waiting &&
                        askQuestion(module_, kResumeQuestion, QStringLiteral("Horalog 96"));
    if (sessionEnding_)
        return;
    if (resume) {
        resumeTiming(recovery_.savedAtSessionEnd(module_.platform.clock.now()));
        recovery_.sessionEndHandled();
    } else {
        recovery_.dropSaved();
    }
}

void TimerForm::offerInterruptedTiming()
{
    const std::optional<SavedTiming> saved = recovery_.interrupted();
    if (!saved)
        return;
    const bool resume =
        askQuestion(module_, kInterruptedQuestion.arg(shownStart(*saved)), QStringLiteral("Horalog 96"));
    if (sessionEnding_)
        return;
    if (resume)
        resumeTiming(*saved);
    else
        recovery_.dropSaved();
}

// Each value that can no longer be used (an employee or client no longer listed, a start that
// cannot be read or lies ahead) is skipped and the new timing keeps its own; the others are restored.
void TimerForm::resumeTiming(const SavedTiming& saved)
{
    const int employee = EmployeeList->findText(saved.user, Qt::MatchExactly);
    if (employee >= 0)
        EmployeeList->setCurrentIndex(employee);
    const int client = ClientList->findText(saved.client, Qt::MatchFixedString);
    if (saved.client.isEmpty() || client >= 0)
        ClientList->setCurrentIndex(client);
    Project->setText(saved.project);
    Task->setText(saved.task);
    Billable->setChecked(saved.billable);
    const QDateTime now = toWholeSecond(module_.platform.clock.now());
    const bool startUsable = saved.start.isValid() && saved.start <= now;
    beginTiming(startUsable ? saved.start : now, saved.day.isValid() ? saved.day : now.date());
}

void TimerForm::ImportMenuItem_Click()
{
    ImportData();
}

// All or nothing: an import that fails leaves the data file as it was.
void TimerForm::ImportData()
{
    std::optional<BusyPointer> busy;
    try {
        module_.requireTaskDatabase();
        const QString chosen = module_.platform.prompter.openFile(
            {QStringLiteral("Import"), QStringLiteral("Horalog database (Horalog.mdb)|Horalog.mdb"),
             QDir::homePath(), importFileName_});
        busy.emplace();
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        QDir::setCurrent(module_.StartDir);
        if (chosen.isEmpty())
            return;
        importFileName_ = chosen;
        store::importDataFile(module_.TaskDatabase(), chosen,
                              [] { QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents); });
        refillListsKeepingChoices();
    } catch (const RuntimeError& error) {
        busy.reset();
        module_.ShowErrorText(error);
    }
}

// The program restarts on the chosen data file; a directory whose data file cannot be opened, or a
// setting that cannot be written, leaves everything as it was.
void TimerForm::OptionsSubMenu_Click()
{
    const QString chosen = module_.platform.prompter.openFile({QStringLiteral("Data Location"),
                                                               QStringLiteral("Horalog data|Horalog.mdb"),
                                                               module_.DataPath, QString()});
    QDir::setCurrent(module_.StartDir);
    if (chosen.isEmpty() || !store::isDataFileName(chosen))
        return;
    const QString directory = store::dataDirectoryOf(chosen);
    try {
        store::checkDataDirectory(directory);
    } catch (const RuntimeError& error) {
        tell(module_, error.text() + kDataLocationKept, MessageIcon::Exclamation);
        return;
    }
    if (module_.platform.prompter.message({kDataLocationQuestion.arg(chosen), QStringLiteral("Horalog"),
                                           MessageButtons::YesNo, MessageIcon::Exclamation, Answer::No}) !=
        Answer::Yes)
        return;
    if (!module_.reg.SetKeyValuesDurably(kHoralogKey, {{QStringLiteral("DataDir"), directory}})) {
        tell(module_,
             QStringLiteral("The settings file '%1' could not be written.")
                     .arg(module_.reg.keyFile(kHoralogKey)) +
                 kDataLocationKept,
             MessageIcon::Exclamation);
        return;
    }
    tell(module_, kDataLocationChanged, MessageIcon::Information);
    if (isTiming())
        recovery_.timingEnded();
    module_.platform.process.startDetached(QCoreApplication::applicationFilePath(), {});
    module_.platform.process.exitNow();
}

void TimerForm::Form_Unload()
{
    module_.guarded([this] {
        module_.reg.SetKeyValue(kHoralogKey, QStringLiteral("OnTop"),
                                FloatMenuItem->isChecked() ? QStringLiteral("True") : QStringLiteral("False"),
                                REG_SZ);
    });
    unloadAlarmWindows(module_);
    if (module_.menuForm)
        module_.menuForm->close();
}

} // namespace horalog
