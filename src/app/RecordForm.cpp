#include "app/RecordForm.h"

#include "app/MainModule.h"
#include "controls/StatusBar.h"
#include "controls/Twips.h"

#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>

namespace horalog
{

namespace
{
const QString kTitle = QStringLiteral("Horalog");
const QString kLoseEdits =
    QStringLiteral("The changes to this record could not be saved.  Close anyway and lose them?");
const QString kChangedElsewhere = QStringLiteral(
    "This record was changed by another user since you started editing it.  Save your changes over theirs?");
const QString kDeletedElsewhere = QStringLiteral("This record was deleted by another user.");
constexpr int kStatusHeight = 300;
constexpr int kLabelHeight = 240;
// Labels may reach a little past their box, so that a caption longer than a narrow box is not cut.
constexpr int kLabelOverhang = 120;
} // namespace

void superviseWrites(const MainModule& module, DataControl* bar)
{
    Prompter& prompter = module.platform.prompter;
    QObject::connect(bar, &DataControl::Error, bar,
                     [&module](const RuntimeError& error) { module.reportError(error); });
    QObject::connect(bar, &DataControl::WriteFailed, bar,
                     [&module, &prompter](const RuntimeError& error, bool* loseEdits) {
                         module.reportError(error);
                         *loseEdits = prompter.message({kLoseEdits, kTitle, MessageButtons::YesNo,
                                                        MessageIcon::Exclamation, Answer::No}) == Answer::Yes;
                     });
    QObject::connect(bar, &DataControl::RowChanged, bar, [&prompter](bool* overwrite) {
        *overwrite = prompter.message({kChangedElsewhere, kTitle, MessageButtons::YesNo,
                                       MessageIcon::Question, Answer::No}) == Answer::Yes;
    });
    QObject::connect(bar, &DataControl::RowDeleted, bar, [&prompter] {
        prompter.message({kDeletedElsewhere, kTitle, MessageButtons::Ok, MessageIcon::Exclamation});
    });
}

RecordForm::RecordForm(MainModule& module, const QString& caption, int clientWidthTwips,
                       int clientHeightTwips)
    : Form(module, caption, clientWidthTwips, clientHeightTwips), Data1(new DataControl(client())),
      StatusBar1(new StatusBar(module.platform.clock,
                               {{StatusBar::Style::Text, 2700, true, QString()},
                                {StatusBar::Style::Time, 900, false, QString()},
                                {StatusBar::Style::Date, 900, false, QString()}},
                               client()))
{
    placeTwips(StatusBar1, 0, clientHeightTwips - kStatusHeight, clientWidthTwips, kStatusHeight);
    StatusBar1->showHintFor(client(), QString());
    connect(Data1, &DataControl::Validate, this, &RecordForm::Data1_Validate);
    connect(Data1, &DataControl::Reposition, this, &RecordForm::Data1_Reposition);
    superviseWrites(module_, Data1);
}

QLineEdit* RecordForm::addLabelledBox(QLabel*& label, const QString& caption, const QRect& twips,
                                      const QString& mask)
{
    label = new QLabel(caption, client());
    placeTwips(label, twips.x(), twips.y() - kLabelHeight, twips.width() + kLabelOverhang, kLabelHeight);
    auto* box = new QLineEdit(client());
    placeTwips(box, twips.x(), twips.y(), twips.width(), twips.height());
    if (!mask.isEmpty())
        box->setInputMask(mask);
    if (lastBox_)
        QWidget::setTabOrder(lastBox_, box);
    lastBox_ = box;
    return box;
}

QMenu* RecordForm::buildMenus()
{
    QMenu* fileMenu = menuBar()->addMenu(QStringLiteral("&File"));
    QAction* closeItem = fileMenu->addAction(QStringLiteral("&Close"));
    closeItem->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_F4));
    connect(closeItem, &QAction::triggered, this, &QWidget::close);

    QMenu* editMenu = menuBar()->addMenu(QStringLiteral("&Edit"));
    QAction* deleteItem = editMenu->addAction(QStringLiteral("&Delete"));
    deleteItem->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_D));
    connect(deleteItem, &QAction::triggered, this, [this] { EditMenuItem_Click(0); });
    QAction* findItem = editMenu->addAction(QStringLiteral("&Find"));
    findItem->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_F));
    connect(findItem, &QAction::triggered, this, [this] { EditMenuItem_Click(1); });

    addHelpMenu();
    return fileMenu;
}

void RecordForm::Data1_Reposition()
{
    const int count = Data1->rowCount();
    Data1->setCaption(QStringLiteral("%1 of %2").arg(Data1->position() + 1).arg(count));
}

void RecordForm::EditMenuItem_Click(int Index)
{
    module_.guarded([this, Index] {
        if (Index == 0)
            deleteRecord();
        else
            findRecord();
    });
}

void RecordForm::deleteRecord()
{
    if (module_.platform.prompter.message({deleteWarning(), QStringLiteral("Horalog"), MessageButtons::YesNo,
                                           MessageIcon::Exclamation, Answer::No}) != Answer::Yes)
        return;
    if (Data1->deleteCurrent())
        Data1->moveFirst();
}

bool RecordForm::Form_QueryUnload()
{
    bool saved = false;
    module_.guarded([this, &saved] { saved = Data1->saveForUnload(); });
    return saved;
}

} // namespace horalog
