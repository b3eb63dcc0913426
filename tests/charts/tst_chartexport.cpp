#include "accounts/tform1.h"
#include "charts/chartexport.h"
#include "charts/tform5.h"
#include "charts/weightchart.h"
#include "store/kalimoerror.h"
#include "testsupport/chartlabels.h"
#include "testsupport/filesizelimit.h"
#include "testsupport/windowfixture.h"
#include "ui/spinedit.h"
#include "weight/tform2.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPrinter>
#include <QRegularExpression>
#include <QToolButton>
#include <QtTest>

#include <csetjmp>
#include <cstdio>
#include <cstring>

#include <jpeglib.h>

namespace {
// Paul's account open on March 2004, a month with a few weights.
struct MarchOpen : OpenAccount {
    MarchOpen() : OpenAccount("[Paul]\r\npassword=pw\r\n", "[3/2004]\r\nv1=80\r\nv2=79,5\r\nv15=78\r\n") {
        ShowMonth(3, 2004);
        dialogs.clear();
    }
};

struct JpegFacts {
    int width = 0;
    int height = 0;
    int components = 0;
    bool progressive = true;
};

struct TestJpegErrors {
    jpeg_error_mgr pub;
    std::jmp_buf escape;
};

void escape(j_common_ptr cinfo) {
    std::longjmp(reinterpret_cast<TestJpegErrors*>(cinfo->err)->escape, 1);
}

// Decodes the whole picture; false when libjpeg finds it broken.
bool decodeJpeg(const unsigned char* data, unsigned long size, JpegFacts* facts) {
    jpeg_decompress_struct cinfo;
    TestJpegErrors errors;
    std::memset(&cinfo, 0, sizeof cinfo);
    cinfo.err = jpeg_std_error(&errors.pub);
    errors.pub.error_exit = escape;
    if (setjmp(errors.escape)) {
        jpeg_destroy_decompress(&cinfo);
        return false;
    }
    jpeg_create_decompress(&cinfo);
    jpeg_mem_src(&cinfo, data, size);
    jpeg_read_header(&cinfo, TRUE);
    facts->progressive = cinfo.progressive_mode;
    facts->components = cinfo.num_components;
    jpeg_start_decompress(&cinfo);
    facts->width = int(cinfo.output_width);
    facts->height = int(cinfo.output_height);
    JSAMPARRAY row = (*cinfo.mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(&cinfo), JPOOL_IMAGE,
                                                cinfo.output_width * cinfo.output_components, 1);
    while (cinfo.output_scanline < cinfo.output_height)
        jpeg_read_scanlines(&cinfo, row, 1);
    jpeg_finish_decompress(&cinfo);
    jpeg_destroy_decompress(&cinfo);
    return true;
}

JpegFacts jpegFacts(const QString& path) {
    const QByteArray bytes = ReadBytes(path);
    JpegFacts facts;
    if (bytes.isEmpty() || !decodeJpeg(reinterpret_cast<const unsigned char*>(bytes.constData()),
                                       static_cast<unsigned long>(bytes.size()), &facts))
        return {};
    return facts;
}

QSize sizeOf(const QWidget* w) {
    return w->size();
}

int pdfPageCount(const QString& path) {
    const QString pdf = QString::fromLatin1(ReadBytes(path));
    return int(pdf.count(QRegularExpression(QStringLiteral("/Type\\s*/Page(?!s)"))));
}

QStringList newFiles(const QStringList& before) {
    QStringList added;
    for (const QString& f : FilesHere())
        if (!before.contains(f))
            added << f;
    return added;
}

// February and March 2004 weighed every day (84,9 and 85,9 kg, then 89,9 and 90,9 kg in turn):
// the crowded months a faithful user has.
QByteArray fullMonths() {
    QByteArray weights;
    for (const int month : {2, 3}) {
        weights += "[" + QByteArray::number(month) + "/2004]\r\n";
        for (int d = 1; d <= 31; ++d)
            weights +=
                "v" + QByteArray::number(d) + "=" + QByteArray::number(month * 5 + 74 + d % 2) + ",9\r\n";
    }
    return weights;
}
} // namespace

class TestChartExport : public QObject {
    Q_OBJECT

  private Q_SLOTS:
    void initTestCase() { SetUpTestApplication(); }
    void monthChartAsJpeg();
    void pictureFileNames_data();
    void pictureFileNames();
    void bitmapAndTheYearWindow();
    void savedPictureShowsTheZoom();
    void failuresAreReported();
    void libjpegErrorsComeBackAsErrors();
    void printsOnePage();
    void labelsReadCleanly_data();
    void labelsReadCleanly();
};

void TestChartExport::monthChartAsJpeg() {
    MarchOpen p;
    const QStringList before = FilesHere();
    p.dialogs.nextFileName = QStringLiteral("Mars 2004");
    QTest::mouseClick(Form2->SpeedButton2, Qt::LeftButton);
    QCOMPARE(p.dialogs.offeredCaption, QStringLiteral("Enregistrement de ce graphique..."));
    QCOMPARE(p.dialogs.offeredFileName, QStringLiteral("Mars 2004"));
    QCOMPARE(p.dialogs.offeredFilters.size(), 2);
    QVERIFY(p.dialogs.offeredFilters.at(0).startsWith(QStringLiteral("Image *.jpg")));
    QVERIFY(p.dialogs.offeredFilters.at(1).startsWith(QStringLiteral("Image *.bmp")));
    QCOMPARE(p.dialogs.offeredFilterIndex, 0);
    QCOMPARE(newFiles(before), QStringList{QStringLiteral("Mars 2004.jpg")});
    QVERIFY(p.dialogs.shown.isEmpty());

    const JpegFacts facts = jpegFacts(p.dir.file(QStringLiteral("Mars 2004.jpg")));
    QCOMPARE(QSize(facts.width, facts.height), sizeOf(Form2->ChartView1));
    QCOMPARE(facts.components, 3);
    QVERIFY(!facts.progressive);

    // A name typed with its extension gets no second one.
    p.dialogs.nextFileName = QStringLiteral("courbe.jpg");
    QTest::mouseClick(Form2->SpeedButton2, Qt::LeftButton);
    QCOMPARE(newFiles(before), (QStringList{QStringLiteral("Mars 2004.jpg"), QStringLiteral("courbe.jpg")}));
    QVERIFY(p.dialogs.shown.isEmpty());

    // Saving over it asks about that very file; "Non" brings the dialog back with the name typed.
    WriteBytes(p.dir.file(QStringLiteral("courbe.jpg")), "ancien");
    p.dialogs.nextFileName = QStringLiteral("courbe");
    p.dialogs.answers = {QMessageBox::No, QMessageBox::Yes};
    p.dialogs.offeredFileName.clear();
    QTest::mouseClick(Form2->SpeedButton2, Qt::LeftButton);
    QCOMPARE(p.dialogs.shown.size(), 2);
    QVERIFY(p.dialogs.shown.at(0).text.contains(QStringLiteral("courbe.jpg")));
    QCOMPARE(p.dialogs.shown.at(0).buttons, QMessageBox::Yes | QMessageBox::No);
    QCOMPARE(p.dialogs.offeredFileName, QStringLiteral("courbe"));
    QCOMPARE(jpegFacts(p.dir.file(QStringLiteral("courbe.jpg"))).components, 3);
    QCOMPARE(newFiles(before), (QStringList{QStringLiteral("Mars 2004.jpg"), QStringLiteral("courbe.jpg")}));
}

void TestChartExport::pictureFileNames_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("bitmap"); // the type chosen in the dialog
    QTest::addColumn<QString>("picture");
    QTest::addColumn<QString>("temporary"); // empty: written as a bitmap
    QTest::newRow("jpeg, bare") << "Mars 2004" << false << "Mars 2004.jpg"
                                << "Mars 2004tmp.bmp";
    QTest::newRow("jpeg typed") << "courbe.jpg" << false << "courbe.jpg"
                                << "courbetmp.bmp";
    QTest::newRow("jpeg, capitals") << "d/courbe.JPG" << false << "d/courbe.JPG"
                                    << "d/courbetmp.bmp";
    QTest::newRow("jpeg typed, bitmap chosen") << "named.jpg" << true << "named.jpg"
                                               << "namedtmp.bmp";
    QTest::newRow("long jpeg extension, bitmap chosen") << "named.Jpeg" << true << "named.Jpeg"
                                                        << "namedtmp.bmp";
    QTest::newRow("bitmap typed, jpeg chosen") << "courbe.bmp" << false << "courbe.bmp"
                                               << "";
    QTest::newRow("extension alone") << "d/.jpg" << false << "d/.jpg.jpg"
                                     << "d/.jpgtmp.bmp";
    QTest::newRow("unknown extension") << "courbe.png" << true << "courbe.png.bmp"
                                       << "";
    QTest::newRow("bitmap, bare") << "courbe" << true << "courbe.bmp"
                                  << "";
    QTest::newRow("bitmap typed") << "courbe.Bmp" << true << "courbe.Bmp"
                                  << "";
    QTest::newRow("jpeg in a folder name") << "a.jpg/b" << true << "a.jpg/b.bmp"
                                           << "";
}

void TestChartExport::pictureFileNames() {
    QFETCH(QString, name);
    QFETCH(bool, bitmap);
    QFETCH(QString, temporary);
    const ChartPictureFiles files =
        ChartPictureFilesFor(name, bitmap ? ChartPictureType::Bitmap : ChartPictureType::Jpeg);
    QTEST(files.picture, "picture");
    QCOMPARE(files.temporary, temporary);
    QCOMPARE(files.type, temporary.isEmpty() ? ChartPictureType::Bitmap : ChartPictureType::Jpeg);
}

void TestChartExport::bitmapAndTheYearWindow() {
    MarchOpen p;
    const QStringList before = FilesHere();
    p.dialogs.nextFileName = QStringLiteral("Mars 2004");
    p.dialogs.nextFilterIndex = 1;
    QTest::mouseClick(Form2->SpeedButton2, Qt::LeftButton);
    QCOMPARE(newFiles(before), QStringList{QStringLiteral("Mars 2004.bmp")});
    QImage picture;
    QVERIFY(picture.load(p.dir.file(QStringLiteral("Mars 2004.bmp")), "bmp"));
    QCOMPARE(picture.size(), sizeOf(Form2->ChartView1));
    p.dialogs.nextFilterIndex = -1;
    p.dialogs.nextFileName.clear(); // cancelled: nothing written
    QTest::mouseClick(Form2->SpeedButton2, Qt::LeftButton);
    QCOMPARE(p.dialogs.offeredFilterIndex, 1);
    QCOMPARE(newFiles(before), QStringList{QStringLiteral("Mars 2004.bmp")});
    // Bitmap still chosen, a name typed with ".jpg": a JPEG picture of that name.
    p.dialogs.nextFileName = QStringLiteral("named.jpg");
    QTest::mouseClick(Form2->SpeedButton2, Qt::LeftButton);
    QCOMPARE(p.dialogs.offeredFilterIndex, 1);
    QCOMPARE(newFiles(before), (QStringList{QStringLiteral("Mars 2004.bmp"), QStringLiteral("named.jpg")}));
    QCOMPARE(jpegFacts(p.dir.file(QStringLiteral("named.jpg"))).components, 3);
    QFile::remove(p.dir.file(QStringLiteral("named.jpg")));

    // The year window's dialog has its own memory, starting on JPEG; the picture follows the
    // window's size.
    QTest::mouseClick(Form2->SpeedButton8, Qt::LeftButton);
    p.dialogs.nextFileName = QStringLiteral("2004");
    QTest::mouseClick(Form5->SpeedButton7, Qt::LeftButton);
    QCOMPARE(p.dialogs.offeredFilterIndex, 0);
    QCOMPARE(p.dialogs.offeredFileName, QStringLiteral("2004"));
    const QSize first = sizeOf(Form5->ChartView1);
    JpegFacts facts = jpegFacts(p.dir.file(QStringLiteral("2004.jpg")));
    QCOMPARE(QSize(facts.width, facts.height), first);
    Form5->resize(Form5->width() + 200, Form5->height() + 100);
    QTRY_COMPARE(sizeOf(Form5->ChartView1), first + QSize(200, 100));
    QTest::mouseClick(Form5->SpeedButton7, Qt::LeftButton);
    facts = jpegFacts(p.dir.file(QStringLiteral("2004.jpg")));
    QCOMPARE(QSize(facts.width, facts.height), first + QSize(200, 100));
    QCOMPARE(newFiles(before), (QStringList{QStringLiteral("2004.jpg"), QStringLiteral("Mars 2004.bmp")}));
}

void TestChartExport::savedPictureShowsTheZoom() {
    MarchOpen p;
    p.dialogs.nextFilterIndex = 1;
    p.dialogs.nextFileName = QStringLiteral("entier");
    QTest::mouseClick(Form2->SpeedButton2, Qt::LeftButton);
    Form2->Chart1->zoomIn(Form2->Chart1->plotArea().adjusted(40, 40, -40, -40));
    p.dialogs.nextFileName = QStringLiteral("zoom");
    QTest::mouseClick(Form2->SpeedButton2, Qt::LeftButton);

    QImage whole;
    QImage zoomed;
    QVERIFY(whole.load(p.dir.file(QStringLiteral("entier.bmp")), "bmp"));
    QVERIFY(zoomed.load(p.dir.file(QStringLiteral("zoom.bmp")), "bmp"));
    const QImage shown = Form2->ChartView1->grab().toImage().convertToFormat(QImage::Format_RGB32);
    QCOMPARE(zoomed.convertToFormat(QImage::Format_RGB32), shown);
    QVERIFY(whole.convertToFormat(QImage::Format_RGB32) != shown);
}

void TestChartExport::failuresAreReported() {
    MarchOpen p;
    WriteBytes(p.dir.file(QStringLiteral("dossier")), "not a folder");
    p.dialogs.nextFileName = QStringLiteral("dossier/Mars 2004");
    QTest::mouseClick(Form2->SpeedButton2, Qt::LeftButton);
    QCOMPARE(p.dialogs.shown.size(), 1);
    QCOMPARE(p.dialogs.shown.at(0).title, QStringLiteral("Kalimo"));
    QCOMPARE(p.dialogs.shown.at(0).text,
             QStringLiteral("Impossible de créer le fichier dossier/Mars 2004tmp.bmp."));

    // A full disk: nothing half written is left behind.
    const QStringList before = FilesHere();
    p.dialogs.clear();
    p.dialogs.nextFileName = QStringLiteral("plein");
    {
        const FileSizeLimit limit(4096);
        QTest::mouseClick(Form2->SpeedButton2, Qt::LeftButton);
    }
    QCOMPARE(p.dialogs.texts(), QStringList{QStringLiteral("Impossible de créer le fichier pleintmp.bmp.")});
    QCOMPARE(FilesHere(), before);

    // A printer that cannot print: the job is given up and the error shown.
    p.dialogs.clear();
    QPrinter& printer = Form2->PrintDialog1.Printer();
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(p.dir.file(QStringLiteral("dossier/mois.pdf")));
    QTest::mouseClick(Form2->SpeedButton4, Qt::LeftButton);
    QCOMPARE(p.dialogs.shown.size(), 1);
    QCOMPARE(p.dialogs.shown.at(0).icon, QMessageBox::Critical);
    QVERIFY(printer.printerState() != QPrinter::Active);
}

void TestChartExport::libjpegErrorsComeBackAsErrors() {
    WorkingDir dir;
    // libjpeg refuses an empty picture and one wider than 65500 pixels.
    QVERIFY_THROWS_EXCEPTION(KalimoError, WriteJpeg(QImage(), QStringLiteral("vide.jpg")));
    QImage wide(70000, 2, QImage::Format_RGB32);
    wide.fill(Qt::white);
    QVERIFY_THROWS_EXCEPTION(KalimoError, WriteJpeg(wide, QStringLiteral("large.jpg")));
    QCOMPARE(FilesHere(), QStringList());

    QImage small(40, 30, QImage::Format_RGB32);
    small.fill(Qt::blue);
    WriteJpeg(small, QStringLiteral("petit.jpg"));
    const JpegFacts facts = jpegFacts(dir.file(QStringLiteral("petit.jpg")));
    QCOMPARE(QSize(facts.width, facts.height), QSize(40, 30));
}

void TestChartExport::printsOnePage() {
    MarchOpen p;
    const QString month = p.dir.file(QStringLiteral("mois.pdf"));
    Form2->PrintDialog1.Printer().setOutputFormat(QPrinter::PdfFormat);
    Form2->PrintDialog1.Printer().setOutputFileName(month);
    QTest::mouseClick(Form2->SpeedButton4, Qt::LeftButton);
    QCOMPARE(p.dialogs.printRequests, 1);
    QVERIFY(p.dialogs.shown.isEmpty());
    QCOMPARE(pdfPageCount(month), 1);

    QTest::mouseClick(Form2->SpeedButton8, Qt::LeftButton);
    const QString year = p.dir.file(QStringLiteral("annee.pdf"));
    Form5->PrintDialog1.Printer().setOutputFormat(QPrinter::PdfFormat);
    Form5->PrintDialog1.Printer().setOutputFileName(year);
    QTest::mouseClick(Form5->SpeedButton4, Qt::LeftButton);
    QCOMPARE(p.dialogs.printRequests, 2);
    QVERIFY(p.dialogs.shown.isEmpty());
    QCOMPARE(pdfPageCount(year), 1);
}

void TestChartExport::labelsReadCleanly_data() {
    QTest::addColumn<QString>("chart");
    QTest::addColumn<QSize>("window"); // empty: the smallest the window allows
    QTest::addColumn<bool>("printed");
    for (const char* chart : {"month", "comparison", "year"}) {
        QTest::addRow("%s, smallest", chart) << QString::fromLatin1(chart) << QSize() << false;
        QTest::addRow("%s, 1280x1024", chart) << QString::fromLatin1(chart) << QSize(1280, 1000) << false;
        QTest::addRow("%s, full HD", chart) << QString::fromLatin1(chart) << QSize(1920, 1050) << false;
        QTest::addRow("%s, printed", chart) << QString::fromLatin1(chart) << QSize() << true;
    }
}

void TestChartExport::labelsReadCleanly() {
    QFETCH(QString, chart);
    QFETCH(QSize, window);
    QFETCH(bool, printed);
    OpenAccount p("[Paul]\r\npassword=pw\r\ndetails=1\r\n", fullMonths());
    ShowMonth(3, 2004);
    QWidget* shown = Form2;
    QChartView* view = Form2->ChartView1;
    if (chart == QLatin1String("comparison")) {
        Form2->ComboBox3->setCurrentIndex(1);
        Form2->CheckBox2->setChecked(true);
        Form2->CheckBox2Click();
    } else if (chart == QLatin1String("year")) {
        QTest::mouseClick(Form2->SpeedButton8, Qt::LeftButton);
        shown = Form5;
        view = Form5->ChartView1;
    }
    shown->resize(window.isEmpty() ? shown->minimumSize() : window);
    shown->show();
    QVERIFY(QTest::qWaitForWindowExposed(shown));
    for (int i = 0; i < 5; ++i)
        QCoreApplication::processEvents();
    QRectF page(QPoint(), view->size());
    const QList<DrawnText> texts = printed ? TextsPrinted(view, &page) : TextsDrawn(view);
    const QStringList faults = printed ? PrintedFaults(texts, page) : LabelFaults(texts, page);
    QVERIFY2(faults.isEmpty(), qPrintable(faults.join(QStringLiteral("; "))));
    QStringList seen;
    for (const DrawnText& t : texts)
        seen << t.text;
    QVERIFY2(seen.contains(QStringLiteral("Jour")), qPrintable(seen.join(QLatin1Char('|'))));
    if (chart != QLatin1String("year")) // the first and last days, their weights
        for (const char* text : {"1", "31", "89,9", "90,9"})
            QVERIFY2(seen.contains(QLatin1String(text)), text);
}

QTEST_MAIN(TestChartExport)
#include "tst_chartexport.moc"
