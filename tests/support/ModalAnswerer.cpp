#include "support/ModalAnswerer.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>

ModalAnswerer::ModalAnswerer(QObject* parent) : QObject(parent) {
    m_timer.setInterval(20);
    connect(&m_timer, &QTimer::timeout, this, &ModalAnswerer::poll);
    m_timer.start();
}

void ModalAnswerer::answer(const QString& buttonText, std::function<bool()> when) {
    m_answers.append({buttonText, std::move(when)});
}

void ModalAnswerer::poll() {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (!box || !box->isVisible() || m_answers.isEmpty())
        return;
    const Answer& next = m_answers.first();
    if (next.when && !next.when())
        return;
    for (QAbstractButton* button : box->buttons()) {
        if (button->text() == next.button) {
            questions.append(box->text());
            titles.append(box->windowTitle());
            m_answers.removeFirst();
            button->click();
            return;
        }
    }
}
