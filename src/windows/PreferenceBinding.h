#pragma once

#include <QString>
#include <functional>

class QComboBox;
class QObject;
class QSlider;
class QLabel;
class SegmentedPicker;
class ToggleSwitch;

// Ties settings controls to preference keys: a control shows the stored value
// or the key's default, follows every later change of the key wherever it
// comes from, and writes only when the user acts on it. Showing a control
// never creates a key.
namespace PreferenceBinding {

// Calls show() now and after every change of the key, while context lives.
void follow(QObject* context, const char* key, std::function<void()> show);

// afterUserChange runs after the user's own change has been written.
void bindSwitch(ToggleSwitch* control, const char* key, std::function<void()> afterUserChange = {});
// The combo box's items carry their stored tags as item data.
void bindChoice(QComboBox* control, const char* key);
void bindSegments(SegmentedPicker* control, const char* key);
// Whole numbers within the slider's range; the label shows the stored value.
void bindSlider(QSlider* control, QLabel* value, const char* key);

// "14 pt" for a stored size: its whole part; a value no slider could have
// stored (not finite, beyond any integer) shows the default.
QString pointsText(double stored, double fallback);
// The same for the key's stored value.
QString pointsText(const char* key);

} // namespace PreferenceBinding
