#pragma once

#include "store/profilefile.h"

#include <QString>
#include <QStringList>

#include <optional>

// The weight file of an account: one section per month ("3/2005"), one key per day ("v1" …),
// the value as typed, "0" for a day without weight.

bool IsLeapYear(int year);
int DaysInMonth(int month, int year);

QString MonthKey(int month, int year);
QString DayWeightKey(int day);
// ".\" + account + ".ini"; raises an error for a name that cannot name a file of the data folder.
QString WeightFileName(const QString& account);

// The French month names, January first.
const QStringList& MonthNames();

// The stored texts of days 1 to dayCount of a month; "0" where nothing is stored.
QStringList ReadMonthWeights(const ProfileFile& file, int month, int year, int dayCount);

// Writes every day of the month, in day order, as one replacement of the file. Empty texts
// become "0", in the list as in the file. A day whose stored value already reads as its text
// keeps its bytes, so a save changes only the days typed.
void WriteMonthWeights(ProfileFile& file, int month, int year, QStringList& weights);

// The value a weight text stands for on a chart: nothing for the no-weight marker "0" (and for
// an empty text, which saving would turn into "0"); otherwise the number, a period read as a
// comma. Raises the conversion error for any other text.
std::optional<double> ChartWeight(const QString& text);

// A day's weight as the index box receives it from the grid: read as the chart reads it, a period
// as a comma, so that a journal written on Windows ("72.5") gives its index rather than an error
// box at every visit of the day. The cell keeps its text.
QString IndexWeightText(QString cell);
