#include "clients/ClientData.h"

#include "app/MainModule.h"
#include "clients/Client.h"
#include "controls/BoxRules.h"
#include "controls/Fonts.h"
#include "controls/StatusBar.h"
#include "controls/Twips.h"

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QPushButton>

namespace horalog
{

namespace
{

constexpr int kClientWidth = 6270;
constexpr int kClientHeight = 5775;

const QString kTitle = QStringLiteral("Horalog");
const QString kNameRule = QStringLiteral("A client must have a name.  Type it in the Client box.");
const QString kDeleteWarning = QStringLiteral(
    "Warning!  All tasks recorded for this client will also be deleted.\rDo you wish to continue?");

struct BoxSpec {
    QString caption;
    QString field;
    QRect twips;
    int maskedIndex; // -1 for a plain box
    QString mask;
};

// In tab order; plain boxes take the next Text1 index, masked ones their MaskEdBox1 index.
const BoxSpec kBoxes[] = {
    {QStringLiteral("Client"), QStringLiteral("ClientName"), {240, 360, 5775, 285}, -1, {}},
    {QStringLiteral("Street"), QStringLiteral("Street"), {240, 960, 3600, 285}, -1, {}},
    {QStringLiteral("Suite"), QStringLiteral("Suite"), {4080, 960, 1935, 285}, -1, {}},
    {QStringLiteral("City"), QStringLiteral("City"), {240, 1560, 3600, 285}, -1, {}},
    {QStringLiteral("State"), QStringLiteral("State"), {4080, 1560, 615, 285}, -1, {}},
    {QStringLiteral("Zip"), QStringLiteral("ZIP"), {4920, 1560, 1095, 285}, 0, kZipMask},
    {QStringLiteral("First"), QStringLiteral("Contact First"), {240, 2520, 2760, 285}, -1, {}},
    {QStringLiteral("Last"), QStringLiteral("Contact Last"), {3360, 2520, 2640, 285}, -1, {}},
    {QStringLiteral("Voice"), QStringLiteral("Voice"), {240, 3120, 1335, 285}, 1, kPhoneMask},
    {QStringLiteral("Ext."), QStringLiteral("Extension"), {1800, 3120, 615, 285}, -1, {}},
    {QStringLiteral("Fax"), QStringLiteral("FAX"), {3360, 3120, 1335, 285}, 2, kPhoneMask},
    {QStringLiteral("Beeper"), QStringLiteral("Beeper"), {240, 3720, 1335, 285}, 3, kPhoneMask},
    {QStringLiteral("Mobile"), QStringLiteral("Car"), {3360, 3720, 1335, 285}, 4, kPhoneMask},
    {QStringLiteral("E-mail"), QStringLiteral("e-Mail"), {240, 4320, 5775, 285}, -1, {}},
};

} // namespace

ClientData::ClientData(MainModule& module, const QListWidget* clientList)
    : RecordForm(module, QStringLiteral("Clients"), kClientWidth, kClientHeight), clientList_(clientList)
{
    setFont(sansSerif());
    buildBoxes();
    buildControls();
    buildMenus();
    Form_Load();
}

void ClientData::buildBoxes()
{
    int plainIndex = 0;
    for (int row = 0; row < int(std::size(kBoxes)); ++row) {
        const BoxSpec& item = kBoxes[row];
        QLineEdit* box = addLabelledBox(Label1[size_t(row)], item.caption, item.twips, item.mask);
        if (item.maskedIndex >= 0) {
            MaskEdBox1[size_t(item.maskedIndex)] = box;
            if (item.maskedIndex > 0)
                startAfterParenthesis(box);
        } else {
            Text1[size_t(plainIndex++)] = box;
        }
    }
    Label2 = new QLabel(QStringLiteral("Contact Information"), client());
    placeTwips(Label2, 240, 2040, 2175, 255);
    QFont heading = Label2->font();
    heading.setBold(true);
    Label2->setFont(heading);
    refuseDoubleQuote(Text1[0], [this] { showQuoteRule(module_); });
}

void ClientData::buildControls()
{
    placeTwips(Data1, 2160, 5040, 2055, 300);
    const std::array<std::pair<QString, QString>, 2> pictures{{
        {QStringLiteral(":/icons/find.svg"), QStringLiteral("Find")},
        {QStringLiteral(":/icons/close.svg"), QStringLiteral("Close")},
    }};
    const std::array<QPoint, 2> places{{{240, 4800}, {5400, 4800}}};
    for (int i = 0; i < 2; ++i) {
        auto* button = new QPushButton(QIcon(pictures[size_t(i)].first), QString(), client());
        button->setAccessibleName(pictures[size_t(i)].second);
        button->setIconSize(QSize(32, 32));
        placeTwips(button, places[size_t(i)].x(), places[size_t(i)].y(), 615, 615);
        connect(button, &QPushButton::clicked, this, [this, i] { SSCommand1_Click(i); });
        SSCommand1[size_t(i)] = button;
    }
    QWidget::setTabOrder(Text1[8], SSCommand1[1]);
    QWidget::setTabOrder(SSCommand1[1], SSCommand1[0]);
    StatusBar1->showHintFor(SSCommand1[0], QStringLiteral("Find by all or part of client name"));
    StatusBar1->showHintFor(SSCommand1[1], QStringLiteral("Close"));
}

void ClientData::Form_Load()
{
    module_.CenterForm(*this);
    try {
        int plainIndex = 0;
        for (const BoxSpec& item : kBoxes) {
            QLineEdit* box =
                item.maskedIndex >= 0 ? MaskEdBox1[size_t(item.maskedIndex)] : Text1[size_t(plainIndex++)];
            Data1->bind(box, item.field,
                        item.maskedIndex >= 0 ? DataControl::FieldKind::Masked
                                              : DataControl::FieldKind::Text);
        }
        Data1->setRecordSource(module_.TaskDatabase(), QStringLiteral("Clients"),
                               QStringLiteral("ClientName"));
    } catch (const RuntimeError& error) {
        module_.platform.prompter.message(
            {QStringLiteral("Error %1 has ocurred.  %2").arg(error.number()).arg(error.text()), kTitle});
    }
}

void ClientData::Form_Activate()
{
    module_.guarded([this] {
        if (Data1->rowCount() > 0 && Data1->moveLast())
            Data1->moveFirst();
        const QListWidgetItem* current = clientList_ ? clientList_->currentItem() : nullptr;
        if (current) {
            const QString name = current->text();
            Data1->findFirst([&](const QSqlRecord& row) {
                return row.value(QStringLiteral("ClientName"))
                           .toString()
                           .compare(name, Qt::CaseInsensitive) == 0;
            });
        }
    });
}

// A changed name is checked before it is written; a name as stored is left alone, so that an older
// file's odd name traps nobody. The main window's choice follows a rename of its client, also when a
// first attempt to save the new name failed and the row still holds the old one.
void ClientData::Data1_Validate(DataControl::Action Action, bool* Cancel)
{
    const QString storedName = Data1->storedRecord().value(QStringLiteral("ClientName")).toString();
    if (Action != DataControl::Action::Delete && Text1[0]->text() != storedName && !nameIsAcceptable()) {
        Text1[0]->setFocus();
        *Cancel = true;
        return;
    }
    if (module_.SelectedClient == storedName ||
        (!storedName.isEmpty() && storedName == selectedStoredName_)) {
        selectedStoredName_ = storedName;
        module_.SelectedClient = Text1[0]->text();
    }
}

// A client always has a name (a blank one would take over the entries recorded without a client),
// and a name never holds a double quote.
bool ClientData::nameIsAcceptable() const
{
    const QString name = Text1[0]->text();
    if (name.trimmed().isEmpty()) {
        module_.platform.prompter.message({kNameRule, kTitle, MessageButtons::Ok, MessageIcon::Information});
        return false;
    }
    if (name.contains(QLatin1Char('"'))) {
        showQuoteRule(module_);
        return false;
    }
    return true;
}

void ClientData::SSCommand1_Click(int Index)
{
    if (Index == 0)
        EditMenuItem_Click(1);
    else
        close();
}

QString ClientData::deleteWarning() const
{
    return kDeleteWarning;
}

void ClientData::findRecord()
{
    FindText = module_.platform.prompter.input(
        {QStringLiteral("Enter all or part of Client Name."), QStringLiteral("Horalog 96"), FindText});
    if (FindText.isEmpty())
        return;
    Data1->findFirst([this](const QSqlRecord& row) {
        return row.value(QStringLiteral("ClientName")).toString().contains(FindText, Qt::CaseInsensitive);
    });
}

} // namespace horalog
