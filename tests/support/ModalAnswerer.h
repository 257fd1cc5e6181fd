#pragma once

#include <QList>
#include <QObject>
#include <QStringList>
#include <QTimer>
#include <functional>

// Answers the real message boxes of the code under test from inside their
// own modal loop, as a user would: the next box gets the button with the
// queued text clicked, once the queued condition holds.
class ModalAnswerer : public QObject {
    Q_OBJECT
public:
    explicit ModalAnswerer(QObject* parent = nullptr);

    void answer(const QString& buttonText, std::function<bool()> when = {});

    QStringList questions; // the texts of the boxes answered, in order
    QStringList titles;    // and their window titles

private:
    void poll();

    struct Answer {
        QString button;
        std::function<bool()> when;
    };
    QList<Answer> m_answers;
    QTimer m_timer;
};
