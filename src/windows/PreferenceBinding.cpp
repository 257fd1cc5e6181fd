#include "windows/PreferenceBinding.h"

#include "core/L10n.h"
#include "core/Preferences.h"
#include "widgets/SegmentedPicker.h"
#include "widgets/ToggleSwitch.h"

#include <QComboBox>
#include <QLabel>
#include <QSignalBlocker>
#include <QSlider>
#include <cmath>
#include <limits>

void PreferenceBinding::follow(QObject* context, const char* key, std::function<void()> show) {
    const QString name = QString::fromLatin1(key);
    QObject::connect(&Preferences::shared(), &Preferences::changed, context,
                     [name, show](const QString& changed) {
                         if (changed == name)
                             show();
                     });
    show();
}

void PreferenceBinding::bindSwitch(ToggleSwitch* control, const char* key,
                                   std::function<void()> afterUserChange) {
    const QString name = QString::fromLatin1(key);
    follow(control, key, [control, name] {
        control->setChecked(Preferences::shared().boolean(name));
        control->update();
    });
    QObject::connect(control, &ToggleSwitch::clicked, control,
                     [name, afterUserChange](bool checked) {
                         Preferences::shared().setBoolean(name, checked);
                         if (afterUserChange)
                             afterUserChange();
                     });
}

void PreferenceBinding::bindChoice(QComboBox* control, const char* key) {
    const QString name = QString::fromLatin1(key);
    follow(control, key, [control, name] {
        const QSignalBlocker quiet(control);
        control->setCurrentIndex(control->findData(Preferences::shared().string(name)));
    });
    // Only the user's choice: activated, never currentIndexChanged.
    QObject::connect(control, &QComboBox::activated, control, [control, name](int index) {
        Preferences::shared().setString(name, control->itemData(index).toString());
    });
}

void PreferenceBinding::bindSegments(SegmentedPicker* control, const char* key) {
    const QString name = QString::fromLatin1(key);
    follow(control, key,
           [control, name] { control->setCurrentTag(Preferences::shared().string(name)); });
    QObject::connect(control, &SegmentedPicker::chosen, control,
                     [name](const QString& tag) { Preferences::shared().setString(name, tag); });
}

void PreferenceBinding::bindSlider(QSlider* control, QLabel* value, const char* key) {
    const QString name = QString::fromLatin1(key);
    follow(control, key, [control, value, name] {
        const Preferences& prefs = Preferences::shared();
        const double stored = prefs.number(name);
        const double fallback = prefs.defaultValue(name).toDouble();
        value->setText(pointsText(stored, fallback));
        const QSignalBlocker quiet(control);
        // A fraction (14.9) is shown as its whole part and kept until the user moves.
        const double whole = std::isfinite(stored) ? std::trunc(stored) : fallback;
        control->setValue(int(qBound<double>(control->minimum(), whole, control->maximum())));
    });
    QObject::connect(control, &QSlider::valueChanged, control,
                     [name](int position) { Preferences::shared().setNumber(name, position); });
}

QString PreferenceBinding::pointsText(double stored, double fallback) {
    constexpr double limit = double(std::numeric_limits<int>::max());
    const double shown = std::isfinite(stored) && std::abs(stored) < limit ? stored : fallback;
    return L10n::tr("%1 pt").arg(qint64(std::trunc(shown)));
}

QString PreferenceBinding::pointsText(const char* key) {
    const Preferences& prefs = Preferences::shared();
    const QString name = QString::fromLatin1(key);
    return pointsText(prefs.number(name), prefs.defaultValue(name).toDouble());
}
