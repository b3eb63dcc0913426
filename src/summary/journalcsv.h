#pragma once

#include "store/profiledocument.h"
#include "store/profilefile.h"
#include "summary/weighttrend.h"

#include <QByteArray>
#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>

#include <vector>

// The journal in and out as CSV, the way French spreadsheets open it: ";" between fields, the
// decimal comma, dates JJ/MM/AAAA, UTF-8 behind a byte-order mark, CR LF, and fields quoted by the
// usual rules when they hold ";", quotes or line ends.

// One record, fields quoted where needed, without its line end. A field that a spreadsheet would
// take for a formula (beginning with "=", "+", "-", "@", a tab or a carriage return, and not a
// number) gets a leading apostrophe.
QByteArray CsvLine(const QStringList& fields);
// The whole file: the mark, then each record ended by CR LF.
QByteArray CsvFile(const QList<QStringList>& records);

// "date;poids", then one record per weighed day of the range (every day with an invalid range).
QByteArray WeightsCsv(const std::vector<DayWeight>& journal, const DateRange& range);
// "date;aliment;quantité;calories;protéines;glucides;lipides", one record per entry of the food
// log within the range (everything with an invalid range), days in date order, entries in the
// day's order, values computed as the "Calories" page does.
QByteArray FoodLogCsv(const ProfileDocument& log, const ProfileDocument& db, const DateRange& range);

// Writes the bytes as every data file is written (whole, atomically). Raises "Impossible de créer
// le fichier <path>" when that fails.
void WriteCsvFile(const QString& path, const QByteArray& bytes);
// The name with ".csv" added unless it already ends so.
QString WithCsvExtension(const QString& name);

// Weights brought in from a CSV file, either ";" with JJ/MM/AAAA dates and the decimal comma, or
// "," with AAAA-MM-JJ dates and the decimal point; a first line that is not a weighing is taken
// for the column titles.
inline constexpr qint64 LargestImport = 10 * 1024 * 1024;

struct ImportedDay {
    QDate date;
    QString text; // the weight as the file will hold it ("72,5")
    double kg;
    int line;
    QString stored; // what the weight file holds for the day now
};
struct RefusedLine {
    int line;
    QString reason;
};
struct WeightImport {
    std::vector<ImportedDay> fresh;     // days without a weight yet
    std::vector<ImportedDay> equal;     // days already holding that weight
    std::vector<ImportedDay> differing; // days holding another weight
    QList<RefusedLine> refused;         // in line order
};

// Reads the file (at most LargestImport bytes) and sorts its lines against the weight file.
// Raises a message naming the line for a file that cannot be taken at all: missing, too large,
// empty, binary, or with neither separator.
WeightImport PlanWeightImport(const QByteArray& bytes, const ProfileDocument& weights);
QByteArray ReadImportFile(const QString& path);

// The summary shown before anything is written.
QString ImportSummary(const WeightImport& plan);

// Writes the new days, and the differing ones when asked, as one replacement of the weight file:
// every month touched whole, day keys in order, other days kept as stored ("0" for empty).
// Returns the number of days written.
int ApplyWeightImport(ProfileFile& weights, const WeightImport& plan, bool replaceDiffering);
