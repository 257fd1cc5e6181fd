#pragma once

#include <QObject>
#include <QPointer>
#include <QVariantAnimation>

class EscapeDispatcher;
class QAction;
class FeatureTourController;
class FeatureTourOverlay;
class QWidget;

// Carries the tour over one window's content: while the tour shows, the
// overlay covers the whole window but its menu bar, fading in and out. The
// menu bar and the application's commands (New, Open, Close, Quit, Settings,
// Welcome Window) keep working over it. It takes the keyboard
// focus while shown and gives it back to the widget that had it; Escape
// reaches the tour through the window's dispatcher, at the tour's stage, or
// from the menu bar when a menu closed with Escape left the focus there.
class FeatureTourOverlayContainer : public QObject {
    Q_OBJECT
public:
    // Follows the application's one tour.
    FeatureTourOverlayContainer(QWidget* window, EscapeDispatcher& escape);
    // Puts a container on the window, owned by it.
    static void install(QWidget* window, EscapeDispatcher& escape);

    // The overlay while it is on screen (also while fading out), else null.
    FeatureTourOverlay* overlay() const;
    // 0 hidden, 1 fully shown.
    double opacity() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void presentedChanged(bool presented);
    void appear(bool animated);
    void disappear();
    void fadeFinished();
    void focusChanged(QWidget* old, QWidget* now);
    bool isEscapeToFocusedBar(const QEvent* event) const;
    bool skipFromMenuBar(QEvent* event);
    bool isShowing() const;
    QWidget* menuBar() const;
    // The window below its menu bar.
    QRect coveredRect() const;
    QList<QAction*> passingActions() const;

    QWidget* m_window;
    FeatureTourController& m_tour;
    QPointer<FeatureTourOverlay> m_overlay;
    QPointer<QWidget> m_restoreFocus;
    QVariantAnimation m_fade;
};
