#pragma once

#include <QObject>

// Whether the feature tour is showing and which slide is on show. One for the
// whole application: every window that carries the tour follows it, so the
// card shows everywhere at once and a step in one window moves all of them.
// Setting a value it already holds announces nothing.
class FeatureTourController : public QObject {
    Q_OBJECT
public:
    static FeatureTourController& shared();

    explicit FeatureTourController(QObject* parent = nullptr);

    bool isPresented() const { return m_presented; }
    // Always within the catalog: 0 to its count minus one.
    int currentIndex() const { return m_index; }

    // Shows the first slide, also when the tour is already up.
    void present();
    // The next slide; on the last one, completes the tour.
    void advance();
    void goBack();
    // Hide the tour and record it as seen, also while it is hidden. The index
    // stays until the next present().
    void skip();
    void complete();

Q_SIGNALS:
    void isPresentedChanged(bool presented);
    void currentIndexChanged(int index);

private:
    void setPresented(bool presented);
    void setCurrentIndex(int index);

    bool m_presented = false;
    int m_index = 0;
};
