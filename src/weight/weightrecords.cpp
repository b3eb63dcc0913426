#include "weightrecords.h"

#include "accounts/accountsstore.h"
#include "store/numbers.h"

bool IsLeapYear(int year) {
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int DaysInMonth(int month, int year) {
    switch (month) {
    case 2:
        return IsLeapYear(year) ? 29 : 28;
    case 4:
    case 6:
    case 9:
    case 11:
        return 30;
    default:
        return 31;
    }
}

QString MonthKey(int month, int year) {
    return QString::number(month) + QLatin1Char('/') + QString::number(year);
}

QString DayWeightKey(int day) {
    return QLatin1Char('v') + QString::number(day);
}

QString WeightFileName(const QString& account) {
    AccountsStore::CheckAccountName(account);
    return QStringLiteral(".\\") + account + QStringLiteral(".ini");
}

const QStringList& MonthNames() {
    static const QStringList names = {
        QStringLiteral("Janvier"), QStringLiteral("Février"),  QStringLiteral("Mars"),
        QStringLiteral("Avril"),   QStringLiteral("Mai"),      QStringLiteral("Juin"),
        QStringLiteral("Juillet"), QStringLiteral("Août"),     QStringLiteral("Septembre"),
        QStringLiteral("Octobre"), QStringLiteral("Novembre"), QStringLiteral("Décembre")};
    return names;
}

QStringList ReadMonthWeights(const ProfileFile& file, int month, int year, int dayCount) {
    const ProfileDocument& doc = file.Document();
    const QString section = MonthKey(month, year);
    const QString noWeight = QStringLiteral("0");
    QStringList weights;
    weights.reserve(dayCount);
    for (int d = 1; d <= dayCount; ++d)
        weights << doc.ReadString(section, DayWeightKey(d), noWeight);
    return weights;
}

void WriteMonthWeights(ProfileFile& file, int month, int year, QStringList& weights) {
    for (QString& w : weights)
        if (w.isEmpty())
            w = QStringLiteral("0");
    const QString section = MonthKey(month, year);
    file.Update([&](ProfileDocument& doc) {
        bool changed = false;
        for (int d = 1; d <= weights.size(); ++d) {
            // A day whose value already reads as its cell keeps its bytes: a Windows "72.5", blanks
            // or quotes around a value stay as they are until that day is typed in.
            const QString key = DayWeightKey(d);
            if (doc.Value(section, key) != weights.at(d - 1))
                changed |= doc.WriteString(section, key, weights.at(d - 1));
        }
        return changed;
    });
}

std::optional<double> ChartWeight(const QString& text) {
    if (text.isEmpty() || text == QLatin1String("0"))
        return std::nullopt;
    QString copy = text;
    copy.replace(QLatin1Char('.'), QLatin1Char(','));
    return StrToFloat(copy);
}

QString IndexWeightText(QString cell) {
    return cell.replace(QLatin1Char('.'), QLatin1Char(','));
}
