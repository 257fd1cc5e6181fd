#pragma once

#include "windows/AboutInfo.h"

#include <QWidget>

class PlainButton;
class ThemedLabel;

// The about window's content: icon, name and tagline, version and build, the
// two libraries quon is built with, and the copyright line when there is one.
class AboutView : public QWidget {
    Q_OBJECT
public:
    static constexpr int fixedWidth = 360;

    explicit AboutView(const AboutInfo& info = AboutInfo::configured(), QWidget* parent = nullptr);

    ThemedLabel* versionLabel() const { return m_version; }
    // Null when no copyright is configured.
    ThemedLabel* copyrightLabel() const { return m_copyright; }
    QList<PlainButton*> creditLinks() const { return m_links; }

protected:
    void changeEvent(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    PlainButton* creditLink(const char* title, const char* url);
    void retranslate();

    AboutInfo m_info;
    ThemedLabel* m_version = nullptr;
    ThemedLabel* m_copyright = nullptr;
    QList<PlainButton*> m_links;
};
