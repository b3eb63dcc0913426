#pragma once

#include <QImage>
#include <QString>
#include <QStringList>

#include <memory>

class QChartView;
class QPrinter;
class QWidget;

// Saving and printing a chart, the same for the month chart and the year chart.

// What a window's save dialog keeps from one save to the next: the file type last chosen in it
// (0, the first, until the user picks another).
struct ChartSaveDialog {
    int FilterIndex = 0;
};

// A window's print dialog: the printer and the settings last chosen in it. The printer is only
// set up when first needed, since looking for printers can take a while.
class ChartPrintDialog {
  public:
    ChartPrintDialog();
    ~ChartPrintDialog();
    ChartPrintDialog(const ChartPrintDialog&) = delete;
    ChartPrintDialog& operator=(const ChartPrintDialog&) = delete;

    QPrinter& Printer();

  private:
    std::unique_ptr<QPrinter> m_printer;
};

enum class ChartPictureType { Jpeg, Bitmap };

// The title of the save dialog and its two file types, JPEG first.
extern const QString ChartSaveCaption;
const QStringList& ChartPictureFilters();

// The chart exactly as its view shows it (zoom included), at the view's size.
QImage ChartPicture(QChartView* view);

// The files a save writes for the name chosen in the dialog with the file type chosen there. A
// name typed with a picture extension (".jpg", ".jpeg" or ".bmp", in any letter case) is written
// as it stands, in the format its extension names; any other name gets the chosen type's ".bmp"
// or ".jpg". For JPEG, the temporary bitmap is the name without its extension + "tmp.bmp".
struct ChartPictureFiles {
    QString picture;
    QString temporary; // empty for a bitmap
    ChartPictureType type = ChartPictureType::Jpeg;
};
ChartPictureFiles ChartPictureFilesFor(const QString& name, ChartPictureType chosen);

// Writes the chart as a bitmap, or as JPEG by way of the temporary bitmap, removed afterwards,
// to the files ChartPictureFilesFor() names, in the format it decides.
// Raises "Impossible de créer le fichier <file>" for the first file that cannot be written.
void WriteChartPicture(QChartView* view, const QString& name, ChartPictureType type);

// Compresses the picture with libjpeg (quality 90, baseline, three RGB components) and writes
// it to path. Raises "Impossible de créer le fichier <path>" when either step fails; libjpeg's
// own errors come back here instead of ending the program.
void WriteJpeg(const QImage& image, const QString& path);

// Draws the whole chart as vectors on one page of the printer, as large as the printable area
// allows with its proportions kept. When drawing fails the job is aborted and an error raised.
void PrintChartPage(QChartView* view, QPrinter& printer);

// The save and print buttons of a chart window: ask with the window's dialog, then write or print.
// Cancelling either dialog does nothing. Before a picture that exists is replaced, the person is
// asked about that very file; "Non" brings the save dialog back.
void SaveChart(QWidget* window, QChartView* view, ChartSaveDialog& dialog);
void PrintChart(QWidget* window, QChartView* view, ChartPrintDialog& dialog);
