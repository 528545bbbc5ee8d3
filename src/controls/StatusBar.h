#pragma once

#include <QFrame>
#include <QHash>
#include <QList>

class QLabel;
class QTimer;

namespace horalog
{

class Clock;

// A bar of sunken panels: text panels, and time and date panels that keep themselves up to date.
// Panels are numbered from 1. Mouse positions are reported in twips from the bar's top left.
class StatusBar : public QFrame
{
    Q_OBJECT
  public:
    enum class Style { Text, Time, Date };
    struct Panel {
        Style style = Style::Text;
        int widthTwips = 900;
        bool stretch = false;
        QString text;
    };

    StatusBar(const Clock& clock, const QList<Panel>& panels, QWidget* parent = nullptr);

    QString panelText(int panel) const;
    void setPanelText(int panel, const QString& text);
    // Panel 1 carries hints; it is written only when the text differs, so it does not flicker.
    void setHint(const QString& hint);
    // Shows `hint` in panel 1 while the pointer is over `widget`.
    void showHintFor(QWidget* widget, const QString& hint);
    // The panel under a point of the bar in pixels, 0 where there is none.
    int panelAt(const QPoint& pixelPoint) const;
    void refreshClock();

  signals:
    void mouseMoved(const QPoint& twips);
    void mousePressed(Qt::MouseButton button, const QPoint& twips);
    void panelClicked(int panel);

  protected:
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    const Clock& clock_;
    QList<Panel> panels_;
    QList<QLabel*> labels_;
    QHash<QObject*, QString> hints_;
    QTimer* tick_;
};

} // namespace horalog
