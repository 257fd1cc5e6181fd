#include "core/FeatureTourController.h"

#include "core/FeatureTourSlideCatalog.h"
#include "core/Preferences.h"

FeatureTourController& FeatureTourController::shared() {
    static FeatureTourController* instance = new FeatureTourController;
    return *instance;
}

FeatureTourController::FeatureTourController(QObject* parent) : QObject(parent) {}

void FeatureTourController::present() {
    setCurrentIndex(0);
    setPresented(true);
}

void FeatureTourController::advance() {
    if (m_index < FeatureTourSlideCatalog::count() - 1)
        setCurrentIndex(m_index + 1);
    else
        complete();
}

void FeatureTourController::goBack() {
    if (m_index >= 1)
        setCurrentIndex(m_index - 1);
}

void FeatureTourController::skip() {
    complete();
}

void FeatureTourController::complete() {
    setPresented(false);
    Preferences& prefs = Preferences::shared();
    prefs.setBoolean(PreferenceKeys::onboardingCompleted, true);
    prefs.setBoolean(PreferenceKeys::showFeatureTourOnLaunch, false);
}

void FeatureTourController::setPresented(bool presented) {
    if (presented == m_presented)
        return;
    m_presented = presented;
    Q_EMIT isPresentedChanged(presented);
}

void FeatureTourController::setCurrentIndex(int index) {
    if (index == m_index)
        return;
    m_index = index;
    Q_EMIT currentIndexChanged(index);
}
