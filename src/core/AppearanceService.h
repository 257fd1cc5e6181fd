#pragma once

#include "core/AppearanceResolver.h"

#include <QObject>

class QWidget;

// Publishes the active design system to every window: recomputed whenever an
// appearance preference or the system scheme changes, and applied to the
// application palette (Highlight and Link = accent, HighlightedText = onAccent).
class AppearanceService : public QObject {
    Q_OBJECT
public:
    static AppearanceService& shared();

    const DesignSystem& designSystem() const { return m_designSystem; }
    ColorScheme scheme() const { return m_scheme; }

    // The application palette for a design system.
    static QPalette palette(const DesignSystem& ds);

Q_SIGNALS:
    void changed();

private:
    AppearanceService();
    void recompute();

    DesignSystem m_designSystem;
    ColorScheme m_scheme = ColorScheme::Light;
};
