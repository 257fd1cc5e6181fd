#pragma once

#include <QAbstractButton>
#include <QList>
#include <functional>

// A choice among a few tagged segments, drawn on the segment track with the
// chosen one on an accent pill. A click on another segment emits chosen(tag);
// setCurrentTag() from code emits nothing. Labels are looked up again on
// every language change.
class SegmentedPicker : public QWidget {
    Q_OBJECT
public:
    struct Segment {
        QString tag;
        std::function<QString()> label;
    };

    explicit SegmentedPicker(QList<Segment> segments, QWidget* parent = nullptr);

    QString currentTag() const { return m_current; }
    // A tag that names no segment marks none.
    void setCurrentTag(const QString& tag);
    QAbstractButton* segment(const QString& tag) const;
    QList<QAbstractButton*> segments() const { return m_buttons; }

Q_SIGNALS:
    void chosen(const QString& tag);

protected:
    void changeEvent(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void retranslate();

    QList<Segment> m_segments;
    QList<QAbstractButton*> m_buttons;
    QString m_current;
};
