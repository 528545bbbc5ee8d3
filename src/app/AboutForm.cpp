#include "app/AboutForm.h"

#include "app/MainModule.h"
#include "controls/Twips.h"

#include <QFrame>
#include <QLabel>
#include <QPushButton>

namespace horalog
{

namespace
{
const QString kCredits = QStringLiteral("Horalog 96 time tracking");
const QString kSupportNumber = QStringLiteral("(800) 555-0196");

QLabel* makeLabel(QWidget* parent, const QString& text, Qt::Alignment alignment, QRect twips)
{
    auto* label = new QLabel(text, parent);
    label->setAlignment(alignment | Qt::AlignVCenter);
    placeTwips(label, twips.x(), twips.y(), twips.width(), twips.height());
    return label;
}
} // namespace

AboutForm::AboutForm(MainModule& module, Mode mode)
    : Form(module, QStringLiteral("About Horalog 96"), 5175, 2220)
{
    Frame1 = new QFrame(client());
    Frame1->setFrameStyle(QFrame::Box | QFrame::Sunken);
    placeTwips(Frame1, 240, 120, 4695, 1280);
    Picture1 = new QLabel(Frame1);
    Picture1->setPixmap(QIcon(QStringLiteral(":/icons/about.svg")).pixmap(43, 56));
    placeTwips(Picture1, 120, 240, 705, 900);
    Label1[0] = makeLabel(Frame1, kCredits, Qt::AlignHCenter, {960, 240, 3615, 255});
    Label1[1] =
        makeLabel(Frame1, QStringLiteral("Fernwick Labs, Inc."), Qt::AlignHCenter, {960, 540, 3615, 255});
    Label2[0] =
        makeLabel(client(), QStringLiteral("For technical support"), Qt::AlignLeft, {240, 1560, 2040, 255});
    Label2[1] =
        makeLabel(client(), QStringLiteral("or customization, call:"), Qt::AlignLeft, {240, 1800, 2040, 255});
    Label2[2] = makeLabel(client(), kSupportNumber, Qt::AlignLeft, {2280, 1800, 1455, 255});
    Command1 = new QPushButton(QStringLiteral("&OK"), client());
    placeTwips(Command1, 3960, 1680, 975, 375);
    Command1->setDefault(true);
    connect(Command1, &QPushButton::clicked, this, &QWidget::close);
    Command1->setVisible(mode == Mode::Dialog);
    Form_Load();
}

void AboutForm::Form_Load()
{
    module_.setTopmost(*this, true);
    module_.CenterForm(*this);
}

} // namespace horalog
