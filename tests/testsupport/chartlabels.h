#pragma once

// The texts a chart view draws and the rectangle each covers, caught by painting the view on a
// device that keeps the texts instead of pixels; and the faults a reader would see in them.

#include "charts/chartexport.h"

#include <QChartView>
#include <QList>
#include <QPaintDevice>
#include <QPaintEngine>
#include <QPainter>
#include <QPrinter>
#include <QProcess>
#include <QRectF>
#include <QRegularExpression>
#include <QStringList>
#include <QTemporaryDir>
#include <QTextItem>

#include <algorithm>

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

// The words of a chart printed as the print button prints it (on an A4 page at the printer's
// resolution, into a PDF file), each with its box in points, as a PDF reader finds them
// (pdftotext, from poppler-utils). The page's edge is put in page.
inline QList<DrawnText> TextsPrinted(QChartView* view, QRectF* page) {
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("graphique.pdf"));
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(pdf);
    PrintChartPage(view, printer);
    QProcess reader;
    reader.start(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), pdf, QStringLiteral("-")});
    if (!reader.waitForFinished(60000) || reader.exitCode() != 0)
        return {};
    const QString html = QString::fromUtf8(reader.readAllStandardOutput());
    const auto attribute = [](const QString& tag, const char* name) {
        const QRegularExpression re(QStringLiteral("%1=\"([-0-9.]+)\"").arg(QLatin1String(name)));
        return re.match(tag).captured(1).toDouble();
    };
    const QRegularExpressionMatch sheet = QRegularExpression(QStringLiteral("<page[^>]*>")).match(html);
    *page = QRectF(0, 0, attribute(sheet.captured(0), "width"), attribute(sheet.captured(0), "height"));
    QList<DrawnText> words;
    const QRegularExpression word(QStringLiteral("(<word [^>]*>)([^<]*)</word>"));
    for (auto it = word.globalMatch(html); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        const QString tag = m.captured(1);
        const QPointF from(attribute(tag, "xMin"), attribute(tag, "yMin"));
        const QPointF to(attribute(tag, "xMax"), attribute(tag, "yMax"));
        words.append({m.captured(2), QRectF(from, to)});
    }
    return words;
}

// On paper as on screen, the proportions hold: no word is more than three times as thick as a
// word of the value axis' title (its box is upright, so its thickness is its width); and what
// LabelFaults finds on the page.
inline QStringList PrintedFaults(const QList<DrawnText>& words, const QRectF& page,
                                 const QString& titleWord = QStringLiteral("(Kg)")) {
    QStringList faults = LabelFaults(words, page);
    const auto title = std::find_if(words.cbegin(), words.cend(),
                                    [&](const DrawnText& w) { return w.text == titleWord; });
    if (title == words.cend())
        return faults << QStringLiteral("no axis title");
    const double thickness = std::min(title->box.width(), title->box.height());
    for (const DrawnText& w : words)
        if (std::min(w.box.width(), w.box.height()) > 3 * thickness)
            faults << QStringLiteral("too large: %1 (%2 pt)").arg(w.text).arg(w.box.height());
    return faults;
}
