#include "chartexport.h"

#include "store/datafiles.h"
#include "store/kalimoerror.h"
#include "ui/dialogs.h"

#include <QBuffer>
#include <QChart>
#include <QChartView>
#include <QFile>
#include <QImageWriter>
#include <QPainter>
#include <QPrinter>

#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include <jpeglib.h>

const QString ChartSaveCaption = QStringLiteral("Enregistrement de ce graphique...");

const QStringList& ChartPictureFilters() {
    static const QStringList filters = {QStringLiteral("Image *.jpg (*.jpg)"),
                                        QStringLiteral("Image *.bmp (*.bmp)")};
    return filters;
}

ChartPrintDialog::ChartPrintDialog() = default;
ChartPrintDialog::~ChartPrintDialog() = default;

QPrinter& ChartPrintDialog::Printer() {
    if (!m_printer)
        m_printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    return *m_printer;
}

namespace {
// libjpeg's error manager, extended with the place to jump back to: by default an error in
// libjpeg ends the process.
struct EscapingErrorManager {
    jpeg_error_mgr pub; // first, so that libjpeg's pointer to it is a pointer to the whole
    std::jmp_buf escape;
};

void escapeFromLibjpeg(j_common_ptr cinfo) {
    std::longjmp(reinterpret_cast<EscapingErrorManager*>(cinfo->err)->escape, 1);
}

// Compresses packed RGB rows into a buffer that libjpeg allocates with malloc() and stores in
// *out, which the caller frees whatever the outcome. Only plain C objects live in this
// function, so the jump back from an error skips no destructor.
bool compressRgb(const unsigned char* pixels, unsigned width, unsigned height, std::size_t stride,
                 unsigned char** out, unsigned long* outSize) {
    jpeg_compress_struct cinfo;
    EscapingErrorManager errors;
    std::memset(&cinfo, 0, sizeof cinfo); // so that destroying it is safe at any point
    cinfo.err = jpeg_std_error(&errors.pub);
    errors.pub.error_exit = escapeFromLibjpeg;
    if (setjmp(errors.escape)) {
        jpeg_destroy_compress(&cinfo);
        return false;
    }
    jpeg_create_compress(&cinfo);
    jpeg_mem_dest(&cinfo, out, outSize);
    cinfo.image_width = width;
    cinfo.image_height = height;
    cinfo.input_components = 3;
    cinfo.in_color_space = JCS_RGB;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, 90, TRUE);
    jpeg_start_compress(&cinfo, TRUE);
    while (cinfo.next_scanline < cinfo.image_height) {
        JSAMPROW row = const_cast<JSAMPROW>(pixels + std::size_t(cinfo.next_scanline) * stride);
        jpeg_write_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    return true;
}

QByteArray bitmapBytes(const QImage& picture) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "bmp");
    if (!writer.write(picture))
        return {};
    return bytes;
}

// A plain write: the temporary bitmap lives only for the time of a save, so it is not worth
// the flush to disk that a kept file gets.
bool writeTemporary(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    bool ok = file.write(bytes) == bytes.size();
    ok = file.flush() && ok;
    file.close();
    if (!ok)
        file.remove(); // cut short by a full disk: nothing worth keeping
    return ok;
}
} // namespace

void WriteJpeg(const QImage& image, const QString& path) {
    const QImage rgb = image.convertToFormat(QImage::Format_RGB888);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    const bool compressed = compressRgb(rgb.constBits(), unsigned(rgb.width()), unsigned(rgb.height()),
                                        std::size_t(rgb.bytesPerLine()), &buffer, &size);
    bool written = false;
    if (compressed)
        written = WriteFileAtomically(
            path, QByteArray::fromRawData(reinterpret_cast<const char*>(buffer), qsizetype(size)),
            UsualNewFileMode());
    std::free(buffer);
    if (!written)
        throw KalimoError(Messages::CannotCreate(path));
}

QImage ChartPicture(QChartView* view) {
    QImage picture(view->size(), QImage::Format_RGB32);
    picture.fill(Qt::white);
    QPainter painter(&picture);
    // QChartView::render is the scene's; the widget's own draws the view as it stands on screen.
    static_cast<QWidget*>(view)->render(&painter);
    return picture;
}

ChartPictureFiles ChartPictureFilesFor(const QString& name, ChartPictureType chosen) {
    // "courbe.jpg" is meant as courbe.jpg, in JPEG whatever type the dialog shows, not as
    // courbe.jpg.bmp; a name that is nothing but an extension (".jpg") still gets one.
    static const QList<std::pair<QString, ChartPictureType>> known = {
        {QStringLiteral(".jpg"), ChartPictureType::Jpeg},
        {QStringLiteral(".jpeg"), ChartPictureType::Jpeg},
        {QStringLiteral(".bmp"), ChartPictureType::Bitmap}};
    const QString fileName = name.section(QLatin1Char('/'), -1);
    ChartPictureFiles files;
    files.type = chosen;
    QString stem = name;
    files.picture =
        name + (chosen == ChartPictureType::Bitmap ? QStringLiteral(".bmp") : QStringLiteral(".jpg"));
    for (const auto& [extension, type] : known) {
        if (fileName.size() > extension.size() && fileName.endsWith(extension, Qt::CaseInsensitive)) {
            files.type = type;
            files.picture = name;
            stem = name.chopped(extension.size());
            break;
        }
    }
    if (files.type == ChartPictureType::Jpeg)
        files.temporary = stem + QStringLiteral("tmp.bmp");
    return files;
}

void WriteChartPicture(QChartView* view, const QString& name, ChartPictureType type) {
    const ChartPictureFiles files = ChartPictureFilesFor(name, type);
    const QByteArray bitmap = bitmapBytes(ChartPicture(view));
    if (files.type == ChartPictureType::Bitmap) {
        const QString& path = files.picture;
        if (bitmap.isEmpty() || !WriteFileAtomically(path, bitmap, UsualNewFileMode()))
            throw KalimoError(Messages::CannotCreate(path));
        return;
    }

    const QString& temporary = files.temporary;
    const QString& path = files.picture;
    if (bitmap.isEmpty() || !writeTemporary(temporary, bitmap))
        throw KalimoError(Messages::CannotCreate(temporary));
    // The JPEG is made from the bitmap as written, so that both formats give the same picture.
    QImage written;
    if (!written.load(temporary, "bmp"))
        throw KalimoError(Messages::CannotCreate(path));
    WriteJpeg(written, path);
    QFile::remove(temporary);
}

void PrintChartPage(QChartView* view, QPrinter& printer) {
    QPainter painter;
    bool ok = painter.begin(&printer);
    if (ok) {
        // The printable area, inside the printer's margins; the chart as large as it fits,
        // centred across the page and at its top.
        const QRect page = painter.viewport();
        QSize size = view->size();
        size.scale(page.size(), Qt::KeepAspectRatio);
        const QRectF target(page.x() + (page.width() - size.width()) / 2.0, page.y(), size.width(),
                            size.height());
        view->render(&painter, target, view->viewport()->rect(), Qt::KeepAspectRatio);
        ok = painter.end();
    }
    if (!ok || printer.printerState() == QPrinter::Error) {
        printer.abort();
        throw KalimoError(QStringLiteral("Impossible d'imprimer le graphique"));
    }
}

void SaveChart(QWidget* window, QChartView* view, ChartSaveDialog& dialog) {
    QString offered = view->chart()->title().section(QLatin1Char('\n'), 0, 0);
    for (;;) {
        int filterIndex = dialog.FilterIndex;
        const QString name =
            Dialogs().SaveFileName(window, ChartSaveCaption, offered, ChartPictureFilters(), filterIndex);
        if (name.isEmpty())
            return;
        dialog.FilterIndex = filterIndex;
        const ChartPictureType type = filterIndex == 1 ? ChartPictureType::Bitmap : ChartPictureType::Jpeg;
        if (!MayReplaceFile(ChartPictureFilesFor(name, type).picture)) {
            offered = name;
            continue;
        }
        WriteChartPicture(view, name, type);
        return;
    }
}

void PrintChart(QWidget* window, QChartView* view, ChartPrintDialog& dialog) {
    QPrinter& printer = dialog.Printer();
    if (!Dialogs().Print(window, printer))
        return;
    PrintChartPage(view, printer);
}
