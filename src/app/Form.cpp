#include "app/Form.h"

#include "app/MainModule.h"
#include "controls/Twips.h"

#include <QCloseEvent>
#include <QLayout>
#include <QMenuBar>

namespace horalog
{

Form::Form(MainModule& module, const QString& caption, int clientWidthTwips, int clientHeightTwips,
           QWidget* parent)
    : QMainWindow(parent), module_(module), client_(new QWidget(this))
{
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(caption);
    setWindowIcon(QIcon(QStringLiteral(":/icons/stopwatch.svg")));
    client_->setFixedSize(twipsSize(clientWidthTwips, clientHeightTwips));
    client_->setMouseTracking(true);
    setCentralWidget(client_);
    layout()->setSizeConstraint(QLayout::SetFixedSize);
}

Form::HelpMenu Form::addHelpMenu(bool launchesHelp)
{
    QMenu* help = menuBar()->addMenu(tr("&Help"));
    QAction* helpItem = help->addAction(tr("&Help"));
    helpItem->setShortcut(QKeySequence(Qt::Key_F1));
    if (launchesHelp)
        connect(helpItem, &QAction::triggered, this, [this] { module_.launchHelp(); });
    QAction* about = help->addAction(tr("&About Horalog..."));
    connect(about, &QAction::triggered, this, [this] { module_.showAbout(); });
    return {helpItem, about};
}

void Form::setClientBackground(const QColor& colour)
{
    QPalette palette = client_->palette();
    palette.setColor(QPalette::Window, colour);
    client_->setPalette(palette);
    client_->setAutoFillBackground(true);
}

bool Form::event(QEvent* event)
{
    if (event->type() == QEvent::WindowActivate)
        Form_Activate();
    return QMainWindow::event(event);
}

void Form::closeEvent(QCloseEvent* event)
{
    if (!Form_QueryUnload()) {
        event->ignore();
        return;
    }
    Form_Unload();
    event->accept();
}

} // namespace horalog
