#pragma once

#include "core/RecentFile.h"
#include "widgets/ThemeRoles.h"

#include <QWidget>

class PlainButton;

// One recent file: symbol, name and folder; hovering tints it and shows the
// remove button; a click anywhere else opens the file. RecentFileRow and
// RecentFileCell are its two presentations.
class RecentFileItem : public QWidget {
    Q_OBJECT
public:
    struct Metrics {
        int spacing;
        int iconSize;
        int iconFrameWidth;
        int textSpacing;
        FontRole nameFont;
        FontRole folderFont;
        int removeSymbolSize;
        int horizontalPadding;
        int verticalPadding;
        bool ownShape;        // a cell is its own rounded, bordered tile
        bool showsFolderPath; // else the folder's name
    };

    const RecentFile& file() const { return m_file; }
    bool isHovered() const { return m_hovered; }
    PlainButton* removeButton() const { return m_remove; }

Q_SIGNALS:
    void openRequested();
    void removeRequested();

protected:
    RecentFileItem(const RecentFile& file, const Metrics& metrics, QWidget* parent);

    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void setHovered(bool hovered);

    RecentFile m_file;
    bool m_ownShape;
    bool m_hovered = false;
    bool m_pressed = false;
    PlainButton* m_remove = nullptr;
};

// A row of the collapsed list.
class RecentFileRow : public RecentFileItem {
    Q_OBJECT
public:
    explicit RecentFileRow(const RecentFile& file, QWidget* parent = nullptr);
};

// A tile of the expanded grid.
class RecentFileCell : public RecentFileItem {
    Q_OBJECT
public:
    explicit RecentFileCell(const RecentFile& file, QWidget* parent = nullptr);
};
