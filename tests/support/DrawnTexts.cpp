#include "support/DrawnTexts.h"

#include <QPaintDevice>
#include <QPaintEngine>
#include <QPainter>
#include <QWidget>

namespace {

// A paint engine that draws nothing and keeps the text runs it is given.
class RecordingEngine : public QPaintEngine {
public:
    RecordingEngine() : QPaintEngine(QPaintEngine::AllFeatures) {}

    QList<DrawnTexts::Run> runs;

    bool begin(QPaintDevice*) override { return true; }
    bool end() override { return true; }
    void updateState(const QPaintEngineState&) override {}
    Type type() const override { return QPaintEngine::User; }
    void drawPixmap(const QRectF&, const QPixmap&, const QRectF&) override {}
    void drawImage(const QRectF&, const QImage&, const QRectF&, Qt::ImageConversionFlags) override {
    }
    void drawPath(const QPainterPath&) override {}
    void drawPolygon(const QPointF*, int, PolygonDrawMode) override {}
    void drawPolygon(const QPoint*, int, PolygonDrawMode) override {}
    void drawRects(const QRectF*, int) override {}
    void drawRects(const QRect*, int) override {}
    void drawLines(const QLineF*, int) override {}
    void drawLines(const QLine*, int) override {}
    void drawEllipse(const QRectF&) override {}
    void drawPoints(const QPointF*, int) override {}
    void drawTiledPixmap(const QRectF&, const QPixmap&, const QPointF&) override {}

    void drawTextItem(const QPointF& at, const QTextItem& item) override {
        const QString text = item.text();
        if (text.trimmed().isEmpty())
            return;
        const QRectF local(at.x(), at.y() - item.ascent(), item.width(),
                           item.ascent() + item.descent());
        const QTransform& transform = painter()->transform();
        // Half a pixel of slack: glyph boxes overhang their clips by rounding.
        const bool clipped =
            painter()->hasClipping() &&
            !painter()->clipBoundingRect().adjusted(-0.5, -0.5, 0.5, 0.5).contains(local);
        runs.append({text, transform.mapRect(local), clipped});
    }
};

class RecordingDevice : public QPaintDevice {
public:
    explicit RecordingDevice(const QWidget* like) : m_like(like) {}
    QPaintEngine* paintEngine() const override { return &m_engine; }
    QList<DrawnTexts::Run> runs() const { return m_engine.runs; }

protected:
    int metric(PaintDeviceMetric metric) const override {
        switch (metric) {
        case PdmWidth:
            return m_like->width();
        case PdmHeight:
            return m_like->height();
        case PdmDepth:
            return 32;
        case PdmDevicePixelRatio:
            return 1;
        case PdmDevicePixelRatioScaled:
            return int(devicePixelRatioFScale());
        // The widget's own resolution, so text lays out as it does on screen.
        case PdmDpiX:
            return m_like->logicalDpiX();
        case PdmDpiY:
            return m_like->logicalDpiY();
        case PdmPhysicalDpiX:
            return m_like->physicalDpiX();
        case PdmPhysicalDpiY:
            return m_like->physicalDpiY();
        case PdmWidthMM:
            return m_like->widthMM();
        case PdmHeightMM:
            return m_like->heightMM();
        case PdmNumColors:
            return m_like->colorCount();
        }
        return 0;
    }

private:
    const QWidget* m_like;
    mutable RecordingEngine m_engine;
};

} // namespace

QList<DrawnTexts::Run> DrawnTexts::of(QWidget* widget) {
    RecordingDevice device(widget);
    widget->render(&device, QPoint(), QRegion(), QWidget::DrawChildren);
    return device.runs();
}

QStringList DrawnTexts::cut(const QList<Run>& runs) {
    QStringList out;
    for (const Run& run : runs)
        if (run.clipped || run.text.contains(QChar(0x2026)))
            out << run.text;
    return out;
}
