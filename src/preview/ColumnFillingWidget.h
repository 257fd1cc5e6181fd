#pragma once

#include <QWidget>

// A view that takes the whole column width and whose height follows from it
// (pictures, tables): it asks for a wide box and lets the layout narrow it.
class ColumnFillingWidget : public QWidget {
    Q_OBJECT
public:
    explicit ColumnFillingWidget(QWidget* parent = nullptr) : QWidget(parent) {
        QSizePolicy policy(QSizePolicy::Expanding, QSizePolicy::Preferred);
        policy.setHeightForWidth(true);
        setSizePolicy(policy);
    }

    bool hasHeightForWidth() const override { return true; }
    QSize sizeHint() const override { return {preferredWidth, heightForWidth(preferredWidth)}; }

    static constexpr int preferredWidth = 480;
};
