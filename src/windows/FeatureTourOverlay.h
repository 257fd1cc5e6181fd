#pragma once

#include <QPointer>
#include <QWidget>

class FeatureTourController;
class QAction;
class QBoxLayout;
class FeatureTourPageDots;
class FeatureTourSlideVisual;
class PlainButton;
class QKeyEvent;
class QLabel;
class QScrollArea;
class WelcomeButton;

// The tour as the user sees it: a dimmed layer over the window's content with
// the card of the slide on show in its middle (Skip, the picture, title and
// body, the page dots, Back and Continue or Get Started). It follows the
// controller and only calls it; it keeps no state of its own. While it is up
// it takes every click, wheel, drop and key, so nothing reaches the content
// under it; Escape is left to the window's Escape dispatcher, and the keys of
// the passing actions to those actions.
//
// In a short window the card keeps its layout: its margins shrink, then its
// picture gets lower, down to minimumPictureHeight. Where the whole slide
// would not show even then, the card turns compact: tighter rows round the
// buttons and no picture; below that the slide scrolls between Skip above
// and Back and Continue below, which stay in view.
class FeatureTourOverlay : public QWidget {
    Q_OBJECT
public:
    static constexpr int cardWidth = 560;
    static constexpr double backdropOpacity = 0.55;
    static constexpr double dimmedBackOpacity = 0.45;
    static constexpr int margin = 24, minimumMargin = 8;
    static constexpr int minimumPictureHeight = 64;
    static constexpr int compactFooterMargin = 12;

    FeatureTourOverlay(FeatureTourController& tour, QWidget* parent);

    QWidget* card() const { return m_card; }
    // Around the slide (picture, texts and dots) in the card; scrolls only
    // when the card cannot fit.
    QScrollArea* cardArea() const { return m_area; }
    PlainButton* skipButton() const { return m_skip; }
    WelcomeButton* backButton() const { return m_back; }
    WelcomeButton* primaryButton() const { return m_primary; }
    QLabel* titleLabel() const { return m_title; }
    QLabel* bodyLabel() const { return m_body; }
    FeatureTourSlideVisual* picture() const { return m_picture; }
    FeatureTourPageDots* pageDots() const { return m_dots; }

    // Actions whose keys go on to them while the tour shows: their shortcuts,
    // or the mnemonic of their text (the menus of a menu bar).
    void setPassingActions(const QList<QAction*>& actions);

protected:
    bool event(QEvent* event) override;
    bool focusNextPrevChild(bool next) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void buildCard();
    void showSlide(bool animated);
    void placeCard();
    // Left, Right and Return without modifiers; true when the key was one.
    bool step(const QKeyEvent* event);
    bool passes(const QKeyEvent* key) const;

    FeatureTourController& m_tour;
    QWidget* m_card = nullptr;
    QBoxLayout* m_header = nullptr;
    QScrollArea* m_area = nullptr;
    QWidget* m_slide = nullptr;
    QBoxLayout* m_footer = nullptr;
    PlainButton* m_skip = nullptr;
    FeatureTourSlideVisual* m_picture = nullptr;
    QLabel* m_title = nullptr;
    QLabel* m_body = nullptr;
    FeatureTourPageDots* m_dots = nullptr;
    WelcomeButton* m_back = nullptr;
    WelcomeButton* m_primary = nullptr;
    QList<QPointer<QAction>> m_passing;
};
