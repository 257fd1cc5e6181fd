#pragma once

#include "widgets/FormButton.h"
#include <QTimer>

// A push button that, while busy, shows a small spinning indicator in place
// of its text, at the same size. Enabling is the caller's business.
class ProgressButton : public FormButton {
    Q_OBJECT
public:
    explicit ProgressButton(const char* sourceText = nullptr, QWidget* parent = nullptr);

    bool isBusy() const { return m_busy; }
    void setBusy(bool busy);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    bool m_busy = false;
    int m_step = 0;
    QTimer m_spin;
};
