#pragma once

#include "core/MarkdownTree.h"
#include "preview/ColumnFillingWidget.h"
#include "preview/ImageLoader.h"
#include "preview/MarkdownRendererContext.h"

class SelectableTextView;

// What an image node shows: which picture, from where, and its caption.
struct ImagePresentation {
    enum class Picture { None, Local, Remote, Missing };
    Picture picture = Picture::None;
    QUrl url;            // Local and Remote
    QString missingText; // "Missing: <source>"
    QString caption;     // the alt text, empty for none
};

// A picture fitted to the column width (aspect kept, centred, rounded corners),
// or a 120-high placeholder while a web picture loads, when it fails, or with
// "Missing: …" when the source leads nowhere; the alt text below it.
class MarkdownImageView : public ColumnFillingWidget {
    Q_OBJECT
public:
    MarkdownImageView(const MarkdownNode& image, const MarkdownRendererContext& context,
                      QWidget* parent = nullptr);

    static ImagePresentation present(const MarkdownNode& image, const QString& documentDirectory);

    static constexpr int spacing = 6;
    static constexpr int placeholderHeight = 120;
    static constexpr qreal cornerRadius = 10;

    const ImagePresentation& presentation() const { return m_presentation; }
    // The picture shown now (absent while loading, on failure and when missing).
    std::shared_ptr<const LoadedImage> picture() const { return m_picture; }
    // The rectangle of the picture or placeholder inside this view.
    QRect pictureRect() const;
    SelectableTextView* captionView() const { return m_caption; }

    int heightForWidth(int width) const override;

protected:
    void paintEvent(QPaintEvent*) override;
    void resizeEvent(QResizeEvent*) override;

private:
    int pictureHeight(int width) const;
    void remoteFinished(const QUrl& url);

    ImagePresentation m_presentation;
    std::shared_ptr<const LoadedImage> m_picture;
    DesignSystem m_design;
    SelectableTextView* m_caption = nullptr;
};
