#pragma once

#include <QWidget>

class FeatureTourController;
class FeatureTourPageDots;
class FeatureTourSlideVisual;
class PlainButton;
class QKeyEvent;
class QLabel;
class WelcomeButton;

// The tour as the user sees it: a dimmed layer over the whole window with the
// card of the slide on show in its middle (Skip, the picture, title and body,
// the page dots, Back and Continue or Get Started). It follows the controller
// and only calls it; it keeps no state of its own. While it is up it takes
// every click, wheel, drop and key, so nothing reaches the window under it;
// Escape is left to the window's Escape dispatcher.
class FeatureTourOverlay : public QWidget {
    Q_OBJECT
public:
    static constexpr int cardWidth = 560;
    static constexpr double backdropOpacity = 0.55;
    static constexpr double dimmedBackOpacity = 0.45;

    FeatureTourOverlay(FeatureTourController& tour, QWidget* parent);

    QWidget* card() const { return m_card; }
    PlainButton* skipButton() const { return m_skip; }
    WelcomeButton* backButton() const { return m_back; }
    WelcomeButton* primaryButton() const { return m_primary; }
    QLabel* titleLabel() const { return m_title; }
    QLabel* bodyLabel() const { return m_body; }
    FeatureTourSlideVisual* picture() const { return m_picture; }
    FeatureTourPageDots* pageDots() const { return m_dots; }

protected:
    bool event(QEvent* event) override;
    bool focusNextPrevChild(bool next) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    QWidget* buildCard();
    void showSlide(bool animated);
    // Left, Right and Return without modifiers; true when the key was one.
    bool step(const QKeyEvent* event);

    FeatureTourController& m_tour;
    QWidget* m_card = nullptr;
    PlainButton* m_skip = nullptr;
    FeatureTourSlideVisual* m_picture = nullptr;
    QLabel* m_title = nullptr;
    QLabel* m_body = nullptr;
    FeatureTourPageDots* m_dots = nullptr;
    WelcomeButton* m_back = nullptr;
    WelcomeButton* m_primary = nullptr;
};
