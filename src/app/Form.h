#pragma once

#include <QMainWindow>

namespace horalog
{

class MainModule;

// A program window: a fixed client area laid out in twips, under an optional menu bar.
// Loaded means the object exists; closing it unloads (deletes) it.
class Form : public QMainWindow
{
    Q_OBJECT
  public:
    Form(MainModule& module, const QString& caption, int clientWidthTwips, int clientHeightTwips,
         QWidget* parent = nullptr);

    QWidget* client() const { return client_; }
    // Runs the activation handler, as the window system does when the window becomes active.
    void activate() { Form_Activate(); }

  protected:
    virtual void Form_Activate() {}
    // Return false to keep the window open.
    virtual bool Form_QueryUnload() { return true; }
    virtual void Form_Unload() {}

    struct HelpMenu {
        QAction* help;
        QAction* about;
    };
    // The Help menu every window has: "&Help" (F1) and "&About Horalog...".
    HelpMenu addHelpMenu();
    void setClientBackground(const QColor& colour);

    bool event(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;

    MainModule& module_;

  private:
    // Activation runs the handler on the first show and on coming back from another of the program's
    // windows, not after a message box or a switch to another program.
    bool activatedFromAnotherForm();

    QWidget* client_;
    bool activatedBefore_ = false;
    QObject* shortcutsFirst_ = nullptr;
};

} // namespace horalog
