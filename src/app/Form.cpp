#include "app/Form.h"

#include "app/MainModule.h"
#include "controls/Twips.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QLayout>
#include <QLineEdit>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPointer>
#include <QShortcutEvent>
#include <algorithm>

namespace horalog
{

namespace
{
// Remembers which top-level window lost activation last, so that a form can tell coming back from
// another form (the About box, an editor it opened) from coming back from a message box or
// another program.
class DeactivationTracker : public QObject
{
  public:
    using QObject::QObject;
    QPointer<QObject> last;
    bool lastWasForm = false;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::WindowDeactivate && watched->isWidgetType() &&
            static_cast<QWidget*>(watched)->isWindow()) {
            last = watched;
            lastWasForm = qobject_cast<Form*>(watched) != nullptr;
        }
        return false;
    }
};

// The window's menu shortcuts come before a text box's own key bindings (Ctrl+E is also "end of
// line", Ctrl+A "select all"), as the program's users know them from the menus.
class MenuShortcutsFirst : public QObject
{
  public:
    explicit MenuShortcutsFirst(QWidget* form) : QObject(form), form_(form) {}

  protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() != QEvent::ShortcutOverride)
            return false;
        const QKeySequence pressed(static_cast<QKeyEvent*>(event)->keyCombination());
        for (const QAction* action : form_->findChildren<QAction*>()) {
            if (action->isEnabled() && action->shortcut() == pressed) {
                event->ignore();
                return true;
            }
        }
        return false;
    }

  private:
    QWidget* form_;
};

// Where a menu title and a control of the window share an access key (the "&Client" menu and the
// "&Close" button), the key opens the menu, as users know it from the old program, in place of Qt's
// cycling that first only moves the focus to the control. Pressed again right after, the key moves
// the focus to the control instead, as Qt cycles between two controls, so the control stays
// reachable.
class MenuAccessKeysFirst : public QObject
{
  public:
    MenuAccessKeysFirst(QMenuBar* bar, QWidget* controls) : QObject(bar)
    {
        for (QAction* title : bar->actions()) {
            const QKeySequence key = QKeySequence::mnemonic(title->text());
            if (!title->menu() || key.isEmpty())
                continue;
            for (QAbstractButton* control : controls->findChildren<QAbstractButton*>()) {
                if (control->shortcut() != key)
                    continue;
                control->setShortcut(QKeySequence());
                clashes_.append({key, title->menu(), control});
            }
        }
        for (qsizetype i = 0; i < clashes_.size(); ++i)
            connect(clashes_[i].menu, &QMenu::triggered, this,
                    [this, i] { clashes_[i].controlsTurn = false; });
        if (!clashes_.isEmpty())
            bar->installEventFilter(this);
    }

  protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() != QEvent::Shortcut)
            return false;
        const auto clash =
            std::ranges::find(clashes_, static_cast<QShortcutEvent*>(event)->key(), &Clash::key);
        if (clash == clashes_.end())
            return false;
        if (clash->controlsTurn && clash->control->isEnabled() && clash->control->isVisible()) {
            clash->controlsTurn = false;
            clash->menu->close();
            clash->control->setFocus(Qt::ShortcutFocusReason);
            // Shows the focus frame, as for a key pressed to reach a control.
            clash->control->window()->setAttribute(Qt::WA_KeyboardFocusChange);
            return true;
        }
        // The bar opens the menu.
        clash->controlsTurn = true;
        return false;
    }

  private:
    struct Clash {
        QKeySequence key;
        QMenu* menu;
        QAbstractButton* control;
        bool controlsTurn = false;
    };
    QList<Clash> clashes_;
};

DeactivationTracker& deactivations()
{
    static DeactivationTracker* tracker = [] {
        auto* created = new DeactivationTracker(qApp);
        qApp->installEventFilter(created);
        return created;
    }();
    return *tracker;
}
} // namespace

Form::Form(MainModule& module, const QString& caption, int clientWidthTwips, int clientHeightTwips,
           QWidget* parent)
    : QMainWindow(parent), module_(module), client_(new QWidget(this))
{
    deactivations();
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(caption);
    setWindowIcon(QIcon(QStringLiteral(":/icons/stopwatch.svg")));
    client_->setFixedSize(twipsSize(clientWidthTwips, clientHeightTwips));
    client_->setMouseTracking(true);
    setCentralWidget(client_);
    layout()->setSizeConstraint(QLayout::SetFixedSize);
}

Form::HelpMenu Form::addHelpMenu()
{
    QMenu* help = menuBar()->addMenu(tr("&Help"));
    QAction* helpItem = help->addAction(tr("&Help"));
    helpItem->setShortcut(QKeySequence(Qt::Key_F1));
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
    if (event->type() == QEvent::WindowActivate && activatedFromAnotherForm())
        Form_Activate();
    return QMainWindow::event(event);
}

void Form::showEvent(QShowEvent* event)
{
    if (!shortcutsFirst_) {
        shortcutsFirst_ = new MenuShortcutsFirst(this);
        for (QWidget* box : findChildren<QWidget*>()) {
            if (qobject_cast<QLineEdit*>(box) || qobject_cast<QPlainTextEdit*>(box))
                box->installEventFilter(shortcutsFirst_);
        }
        if (auto* bar = qobject_cast<QMenuBar*>(menuWidget()))
            new MenuAccessKeysFirst(bar, client_);
    }
    QMainWindow::showEvent(event);
}

bool Form::activatedFromAnotherForm()
{
    const bool first = !activatedBefore_;
    activatedBefore_ = true;
    const DeactivationTracker& tracker = deactivations();
    return first || (tracker.lastWasForm && tracker.last != this);
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
