#include "clients/Client.h"

#include "app/MainModule.h"
#include "clients/ClientData.h"
#include "controls/BoxRules.h"
#include "controls/Fonts.h"
#include "controls/Twips.h"
#include "store/Catalogue.h"
#include "timing/TimerForm.h"

#include <QComboBox>
#include <QEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QPushButton>
#include <QSignalBlocker>

namespace horalog
{

namespace
{

const QColor kDarkCyan(0, 128, 128);
const QColor kLightGrey(192, 192, 192);
const QString kQuoteRule = QStringLiteral("Quotation marks cannot be entered here.  Use apostrophies.");
const QString kRemovalQuestion =
    QStringLiteral("Remove %1 client(s) and the %2 time entries recorded for them?  This cannot be undone.");

struct ButtonSpec {
    QString caption;
    QRect twips;
};

const std::array<ButtonSpec, 4> kButtons{{
    {QStringLiteral("&Add"), {4320, 240, 855, 375}},
    {QStringLiteral("&Edit"), {4320, 840, 855, 375}},
    {QStringLiteral("&Remove"), {4320, 1440, 855, 375}},
    {QStringLiteral("&Close"), {4380, 3120, 855, 375}},
}};

void setBase(QWidget* widget, const QColor& colour)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Base, colour);
    widget->setPalette(palette);
}

QStringList sortedIgnoringCase(QStringList names)
{
    std::sort(names.begin(), names.end(),
              [](const QString& a, const QString& b) { return a.compare(b, Qt::CaseInsensitive) < 0; });
    return names;
}

} // namespace

void showQuoteRule(const MainModule& module)
{
    module.platform.prompter.message(
        {kQuoteRule, QStringLiteral("Fernwick Labs, Inc."), MessageButtons::Ok, MessageIcon::Critical});
}

Client::Client(MainModule& module) : Form(module, QStringLiteral("Clients"), 5385, 3705)
{
    setFont(sansSerif());
    setClientBackground(kDarkCyan);
    buildControls();
    buildMenus();
    module_.guarded([this] { module_.CenterForm(*this); });
}

void Client::buildControls()
{
    AddName = new QLineEdit(client());
    setBase(AddName, kLightGrey);
    placeTwips(AddName, 360, 240, 3735, 375);
    AddName->installEventFilter(this);
    refuseDoubleQuote(AddName, [this] { showQuoteRule(module_); });

    ClientList = new QListWidget(client());
    ClientList->setSelectionMode(QAbstractItemView::ExtendedSelection);
    setBase(ClientList, kLightGrey);
    placeTwips(ClientList, 360, 900, 3735, 2595);

    for (int i = 0; i < int(kButtons.size()); ++i) {
        const ButtonSpec& item = kButtons[size_t(i)];
        auto* button = new QPushButton(item.caption, client());
        placeTwips(button, item.twips.x(), item.twips.y(), item.twips.width(), item.twips.height());
        connect(button, &QPushButton::clicked, this, [this, i] { SSCommand1_Click(i); });
        SSCommand1[size_t(i)] = button;
    }
    SSCommand1[0]->setAutoDefault(false);
    QWidget::setTabOrder(AddName, ClientList);
}

void Client::buildMenus()
{
    QMenu* fileMenu = menuBar()->addMenu(QStringLiteral("&File"));
    CloseMenu = fileMenu->addAction(QStringLiteral("&Close"));
    CloseMenu->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_F4));
    connect(CloseMenu, &QAction::triggered, this, [this] { SSCommand1_Click(3); });

    ClientMenu = menuBar()->addMenu(QStringLiteral("&Client"));
    const std::array<std::pair<QString, QKeyCombination>, 3> items{{
        {QStringLiteral("&Add"), Qt::CTRL | Qt::Key_A},
        {QStringLiteral("&Edit"), Qt::CTRL | Qt::Key_E},
        {QStringLiteral("&Remove"), Qt::CTRL | Qt::Key_R},
    }};
    for (int i = 0; i < int(items.size()); ++i) {
        QAction* item = ClientMenu->addAction(items[size_t(i)].first);
        item->setShortcut(QKeySequence(items[size_t(i)].second));
        connect(item, &QAction::triggered, this, [this, i] { SSCommand1_Click(i); });
        ClientSubMenu[size_t(i)] = item;
    }
    addHelpMenu();
}

bool Client::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == AddName && event->type() == QEvent::FocusIn)
        AddName_GotFocus();
    return Form::eventFilter(watched, event);
}

void Client::AddName_GotFocus()
{
    ClientList->selectionModel()->setCurrentIndex(QModelIndex(), QItemSelectionModel::NoUpdate);
}

void Client::Form_Activate()
{
    module_.guarded([this] { fillList(); });
}

void Client::fillList()
{
    ClientList->clear();
    ClientList->addItems(sortedIgnoringCase(store::clientNames(module_.TaskDatabase())));
}

// The main window's client box follows every change and keeps its choice while that client exists.
// Handed back as the list closes, the choice runs the box's handler as the user's own would, so
// that the project and task of the employee's latest work for the client are proposed; while a
// timing runs, what was typed for it stays.
void Client::refillMainClientList(MainChoice choice)
{
    auto* timer = qobject_cast<TimerForm*>(module_.mainWindow);
    if (!timer)
        return;
    fillSortedList(timer->ClientList, store::clientNames(module_.TaskDatabase()));
    QSignalBlocker blocker(timer->ClientList);
    if (choice == MainChoice::HandedBack && !timer->isTiming())
        blocker.unblock();
    timer->ClientList->setCurrentIndex(
        timer->ClientList->findText(module_.SelectedClient, Qt::MatchFixedString));
}

void Client::SSCommand1_Click(int Index)
{
    module_.guarded([this, Index] {
        switch (Index) {
        case 0:
            addClient();
            break;
        case 1:
            module_.showModal(new ClientData(module_, ClientList));
            break;
        case 2:
            removeSelectedClients();
            break;
        default:
            closeAndHandBack();
            break;
        }
    });
}

void Client::addClient()
{
    const QString name = AddName->text();
    // Blanks alone are no name: a nameless client would take over the entries without a client.
    if (!name.trimmed().isEmpty()) {
        const QSqlDatabase db = module_.TaskDatabase();
        if (store::clientExists(db, name)) {
            module_.platform.prompter.message(
                {QStringLiteral("There is already a client named %1.").arg(name), QStringLiteral("Horalog"),
                 MessageButtons::Ok, MessageIcon::Exclamation});
            AddName->setFocus();
            return;
        }
        store::addClient(db, name);
        AddName->clear();
        fillList();
        refillMainClientList();
    }
    AddName->setFocus();
}

QStringList Client::selectedNames() const
{
    QStringList names;
    for (const QListWidgetItem* line : ClientList->selectedItems())
        names << line->text();
    return names;
}

// Recorded hours are billing data: removing them takes a question; clients without any go at once.
bool Client::removalConfirmed(const QStringList& names)
{
    const int entries = store::entryCountOfClients(module_.TaskDatabase(), names);
    return entries == 0 || module_.platform.prompter.message(
                               {kRemovalQuestion.arg(names.size()).arg(entries), QStringLiteral("Horalog"),
                                MessageButtons::YesNo, MessageIcon::Exclamation, Answer::No}) == Answer::Yes;
}

void Client::removeSelectedClients()
{
    const QStringList names = selectedNames();
    if (!names.isEmpty()) {
        if (!removalConfirmed(names)) {
            SSCommand1[2]->setFocus();
            return;
        }
        store::deleteClients(module_.TaskDatabase(), names);
    }
    fillList();
    refillMainClientList();
    SSCommand1[2]->setFocus();
}

void Client::closeAndHandBack()
{
    close();
    module_.RestoreTopmost();
}

void Client::Form_Unload()
{
    module_.guarded([this] { refillMainClientList(MainChoice::HandedBack); });
}

} // namespace horalog
