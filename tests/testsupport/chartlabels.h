#pragma once

// The texts a chart view draws and the rectangle each covers, caught by painting the view on a
// device that keeps the texts instead of pixels; and the faults a reader would see in them.

#include <QChartView>
#include <QList>
#include <QPaintDevice>
#include <QPaintEngine>
#include <QPainter>
#include <QRectF>
#include <QStringList>
#include <QTextItem>

struct DrawnText {
    QString text;
    QRectF box;
};

class TextRecorder final : public QPaintDevice {
  public:
    explicit TextRecorder(QSize size) : m_size(size), m_engine(this) {}
    QPaintEngine* paintEngine() const override { return &m_engine; }
    const QList<DrawnText>& texts() const { return m_engine.texts; }

  protected:
    int metric(PaintDeviceMetric m) const override {
        switch (m) {
        case PdmWidth:
            return m_size.width();
        case PdmHeight:
            return m_size.height();
        case PdmDpiX:
        case PdmDpiY:
        case PdmPhysicalDpiX:
        case PdmPhysicalDpiY:
            return 96;
        case PdmDepth:
            return 32;
        case PdmNumColors:
            return INT_MAX;
        case PdmDevicePixelRatio:
            return 1;
        case PdmDevicePixelRatioScaled:
            return int(devicePixelRatioFScale());
        default:
            return QPaintDevice::metric(m);
        }
    }

  private:
    struct Engine final : QPaintEngine {
        explicit Engine(TextRecorder*) : QPaintEngine(AllFeatures) {}
        bool begin(QPaintDevice*) override { return true; }
        bool end() override { return true; }
        void updateState(const QPaintEngineState&) override {}
        void drawPixmap(const QRectF&, const QPixmap&, const QRectF&) override {}
        void drawPolygon(const QPointF*, int, PolygonDrawMode) override {}
        void drawPath(const QPainterPath&) override {}
        void drawTextItem(const QPointF& p, const QTextItem& item) override {
            if (state->pen().color().alpha() == 0 || item.text().trimmed().isEmpty())
                return; // nothing a reader sees
            const QRectF box(p.x(), p.y() - item.ascent(), item.width(), item.ascent() + item.descent());
            texts.append({item.text(), state->transform().mapRect(box)});
        }
        Type type() const override { return User; }
        QList<DrawnText> texts;
    };
    QSize m_size;
    mutable Engine m_engine;
};

// Everything the view draws, at its size on screen (as saved) or scaled into target (as printed).
inline QList<DrawnText> TextsDrawn(QChartView* view, const QRect& target = {}) {
    const QRect area = target.isNull() ? QRect(QPoint(), view->size()) : target;
    TextRecorder recorder(area.size() + QSize(area.x(), area.y()));
    QPainter painter(&recorder);
    view->render(&painter, area, view->viewport()->rect(), Qt::KeepAspectRatio);
    painter.end();
    return recorder.texts();
}

// What a reader would find wrong: texts covering one another, cut down to "…", or running past
// the edge of the picture. Empty when all reads cleanly.
inline QStringList LabelFaults(const QList<DrawnText>& texts, const QRectF& edge) {
    QStringList faults;
    for (qsizetype i = 0; i < texts.size(); ++i) {
        const DrawnText& t = texts.at(i);
        if (t.text.contains(QChar(0x2026)) || t.text.contains(QLatin1String("...")))
            faults << QStringLiteral("cut: %1").arg(t.text);
        if (!edge.adjusted(-0.5, -0.5, 0.5, 0.5).contains(t.box))
            faults << QStringLiteral("past the edge: %1").arg(t.text);
        for (qsizetype j = i + 1; j < texts.size(); ++j)
            if (t.box.adjusted(0.5, 0.5, -0.5, -0.5).intersects(texts.at(j).box))
                faults << QStringLiteral("\"%1\" over \"%2\"").arg(t.text, texts.at(j).text);
    }
    return faults;
}
