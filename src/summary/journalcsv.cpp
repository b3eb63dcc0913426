#include "journalcsv.h"

#include "calories/foodlog.h"
#include "store/datafiles.h"
#include "store/kalimoerror.h"
#include "store/numbers.h"
#include "weight/weightrecords.h"

#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QRegularExpression>
#include <QStringDecoder>

#include <algorithm>
#include <cmath>
#include <map>

namespace {
const QByteArray ByteOrderMark("\xEF\xBB\xBF");

bool inRange(const DateRange& range, qint64 day) {
    return !range.first.isValid() || range.contains(day);
}

bool isDigit(QChar c) {
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}
} // namespace

namespace {
// A number as the export writes it: "-2", "72,5", "1,5E-7".
bool isWrittenNumber(const QString& field) {
    static const QRegularExpression number(QStringLiteral("^-?[0-9]+(,[0-9]+)?(E-?[0-9]+)?$"));
    return number.match(field).hasMatch();
}

// The food database is shared by everyone of the data folder: a food named "=...", "+...",
// "-...", "@..." by one person would be run as a formula by the spreadsheet of another who
// opens the export. A leading apostrophe makes the spreadsheet show it as text; numbers keep
// their form so that they stay numbers.
QString asText(const QString& field) {
    if (field.isEmpty())
        return field;
    switch (field.front().unicode()) {
    case '=':
    case '+':
    case '-':
    case '@':
    case '\t':
    case '\r':
        return isWrittenNumber(field) ? field : QLatin1Char('\'') + field;
    default:
        return field;
    }
}
} // namespace

QByteArray CsvLine(const QStringList& fields) {
    QByteArray line;
    for (qsizetype i = 0; i < fields.size(); ++i) {
        if (i > 0)
            line += ';';
        const QString f = asText(fields[i]);
        const bool quoted = f.contains(QLatin1Char(';')) || f.contains(QLatin1Char('"')) ||
                            f.contains(QLatin1Char('\r')) || f.contains(QLatin1Char('\n'));
        if (!quoted) {
            line += f.toUtf8();
            continue;
        }
        QString inner = f;
        inner.replace(QLatin1String("\""), QLatin1String("\"\""));
        line += '"' + inner.toUtf8() + '"';
    }
    return line;
}

QByteArray CsvFile(const QList<QStringList>& records) {
    QByteArray out = ByteOrderMark;
    for (const QStringList& r : records)
        out += CsvLine(r) + "\r\n";
    return out;
}

QByteArray WeightsCsv(const std::vector<DayWeight>& journal, const DateRange& range) {
    // Dates and numbers never need quoting: the records are written straight out.
    QByteArray out = ByteOrderMark + "date;poids\r\n";
    out.reserve(out.size() + qsizetype(journal.size()) * 20);
    for (const DayWeight& w : journal)
        if (inRange(range, w.day))
            out += FormatDate(QDate::fromJulianDay(w.day)).toLatin1() + ';' + FormatAmount(w.kg).toLatin1() +
                   "\r\n";
    return out;
}

QByteArray FoodLogCsv(const ProfileDocument& log, const ProfileDocument& db, const DateRange& range) {
    std::vector<std::pair<qint64, QString>> days;
    for (const QString& section : log.Sections()) {
        const QDate date = DateOfDayKey(section);
        if (date.isValid() && inRange(range, date.toJulianDay()))
            days.emplace_back(date.toJulianDay(), section);
    }
    std::stable_sort(days.begin(), days.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    QList<QStringList> records;
    records << QStringList{QStringLiteral("date"),      QStringLiteral("aliment"),
                           QStringLiteral("quantité"),  QStringLiteral("calories"),
                           QStringLiteral("protéines"), QStringLiteral("glucides"),
                           QStringLiteral("lipides")};
    for (const auto& [day, section] : days) {
        const QString date = FormatDate(QDate::fromJulianDay(day));
        for (const DayFoodRow& row : ReadDayFoods(log, db, section).rows)
            records << QStringList{date,         row.name,     row.quantity, row.calories,
                                   row.proteins, row.glucides, row.lipides};
    }
    return CsvFile(records);
}

void WriteCsvFile(const QString& path, const QByteArray& bytes) {
    // A file the person names and takes elsewhere, like a chart picture: the usual mode.
    if (!WriteFileAtomically(path, bytes, UsualNewFileMode()))
        throw KalimoError(Messages::CannotCreate(path));
}

QString WithCsvExtension(const QString& name) {
    if (name.endsWith(QLatin1String(".csv"), Qt::CaseInsensitive))
        return name;
    return name + QStringLiteral(".csv");
}

namespace {
struct Record {
    int line;
    QStringList fields;
    bool unterminated = false;
};

// Records by the usual CSV rules: a field may be quoted, a quote inside doubled, and a quoted
// field may hold the separator and line ends. Each record knows the line it starts on.
std::vector<Record> readRecords(QStringView text, QChar separator) {
    std::vector<Record> records;
    int line = 1;
    qsizetype i = 0;
    const qsizetype n = text.size();
    while (i < n) {
        Record r{line, {}};
        QString field;
        bool quoted = false;
        bool atFieldStart = true;
        bool ended = false;
        while (i < n && !ended) {
            const QChar c = text[i];
            if (quoted) {
                if (c == QLatin1Char('"')) {
                    if (i + 1 < n && text[i + 1] == QLatin1Char('"')) {
                        field += c;
                        i += 2;
                        continue;
                    }
                    quoted = false;
                } else {
                    field += c;
                    if (c == QLatin1Char('\n') ||
                        (c == QLatin1Char('\r') && (i + 1 >= n || text[i + 1] != QLatin1Char('\n'))))
                        ++line;
                }
                ++i;
                continue;
            }
            if (c == QLatin1Char('"') && atFieldStart) {
                quoted = true;
                atFieldStart = false;
            } else if (c == separator) {
                r.fields << field;
                field.clear();
                atFieldStart = true;
            } else if (c == QLatin1Char('\r') || c == QLatin1Char('\n')) {
                if (c == QLatin1Char('\r') && i + 1 < n && text[i + 1] == QLatin1Char('\n'))
                    ++i;
                ++line;
                ended = true;
            } else {
                field += c;
                atFieldStart = false;
            }
            ++i;
        }
        r.fields << field;
        r.unterminated = quoted;
        const bool blank = r.fields.size() == 1 && r.fields[0].trimmed().isEmpty();
        if (!blank)
            records.push_back(std::move(r));
    }
    return records;
}

struct Form {
    QChar separator;
    bool iso; // AAAA-MM-JJ and the decimal point
};

enum class DateShape { Unreadable, Impossible, Valid };

DateShape readDate(const QString& text, const Form& form, QDate& date) {
    const QStringList parts = text.trimmed().split(form.iso ? QLatin1Char('-') : QLatin1Char('/'));
    if (parts.size() != 3)
        return DateShape::Unreadable;
    const int yearAt = form.iso ? 0 : 2;
    for (int k = 0; k < 3; ++k) {
        const QString& p = parts[k];
        const int width = k == yearAt ? 4 : 2;
        if (p.isEmpty() || p.size() > width || (k == yearAt && p.size() != 4) ||
            !std::all_of(p.cbegin(), p.cend(), isDigit))
            return DateShape::Unreadable;
    }
    const int year = parts[yearAt].toInt();
    const int month = parts[1].toInt();
    const int day = parts[form.iso ? 2 : 0].toInt();
    date = QDate(year, month, day);
    return date.isValid() ? DateShape::Valid : DateShape::Impossible;
}

// A weight as a person types it: digits and at most one decimal separator, nothing else.
std::optional<double> readWeight(const QString& text, const Form& form) {
    QString t = text.trimmed();
    int separators = 0;
    for (QChar& c : t) {
        if (c == QLatin1Char('.') || (!form.iso && c == QLatin1Char(','))) {
            ++separators;
            c = QLatin1Char(',');
        } else if (!isDigit(c)) {
            return std::nullopt;
        }
    }
    if (separators > 1)
        return std::nullopt;
    return ParseDecimal(t);
}

QString quoted(const QString& text) {
    return QStringLiteral("« %1 »").arg(text.size() > 40 ? text.left(40) + QStringLiteral("…") : text);
}

QString decode(const QByteArray& bytes) {
    QStringDecoder utf8(QStringDecoder::Utf8);
    QString text = utf8.decode(bytes);
    if (!utf8.hasError())
        return text;
    // Not UTF-8: a file saved by an older spreadsheet in the Windows code page.
    QStringDecoder windows("windows-1252");
    return windows.isValid() ? QString(windows.decode(bytes)) : QString::fromLatin1(bytes);
}
} // namespace

QByteArray ReadImportFile(const QString& path) {
    const QFileInfo info(path);
    QFile file(path);
    if (!info.isFile() || !file.open(QIODevice::ReadOnly))
        throw KalimoError(QStringLiteral("Impossible de lire le fichier %1").arg(path));
    if (info.size() > LargestImport)
        throw KalimoError(
            QStringLiteral("Le fichier %1 est trop grand (%2 Mo) : un journal de poids tient en "
                           "moins de 10 Mo. Rien n'a été importé")
                .arg(path)
                .arg(info.size() / (1024 * 1024)));
    QByteArray bytes = file.read(LargestImport + 1);
    if (bytes.size() > LargestImport)
        throw KalimoError(QStringLiteral("Le fichier %1 est trop grand : rien n'a été importé").arg(path));
    return bytes;
}

WeightImport PlanWeightImport(const QByteArray& raw, const ProfileDocument& weights) {
    const QByteArray bytes = raw.startsWith(ByteOrderMark) ? raw.mid(ByteOrderMark.size()) : raw;
    // Control characters other than tabs and line ends do not belong in a text file.
    int line = 1;
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        if (b == '\n' || (b == '\r' && (i + 1 >= bytes.size() || bytes[i + 1] != '\n')))
            ++line;
        else if ((b < 0x20 && b != '\t' && b != '\r') || b == 0x7F)
            throw KalimoError(QStringLiteral("Ligne %1 : ce fichier n'est pas un fichier texte. Rien n'a été "
                                             "importé")
                                  .arg(line));
    }
    const QString text = decode(bytes);
    if (text.trimmed().isEmpty())
        throw KalimoError(QStringLiteral("Le fichier est vide : rien n'a été importé"));

    // The separator: the first line that holds something tells the form of the file.
    const QStringList lines = text.left(4096).split(QRegularExpression(QStringLiteral("\r\n|\r|\n")));
    Form form{QLatin1Char(';'), false};
    for (qsizetype k = 0; k < lines.size(); ++k) {
        if (lines[k].trimmed().isEmpty())
            continue;
        if (lines[k].contains(QLatin1Char(';')))
            break;
        if (lines[k].contains(QLatin1Char(','))) {
            form = {QLatin1Char(','), true};
            break;
        }
        throw KalimoError(
            QStringLiteral("Ligne %1 : ni « ; » ni « , » entre la date et le poids. Le fichier "
                           "doit être de la forme « JJ/MM/AAAA;poids » ou « AAAA-MM-JJ,weight ». "
                           "Rien n'a été importé")
                .arg(k + 1));
    }

    WeightImport plan;
    struct Accepted {
        QDate date;
        double kg;
        int line;
    };
    std::vector<Accepted> accepted;
    QHash<qint64, QList<int>> linesOf; // every line giving a weight for the day
    QHash<qint64, double> firstWeight; // the first weight given for it
    const QString separatorName = QStringLiteral("« %1 »").arg(form.separator);
    bool first = true;
    for (const Record& r : readRecords(text, form.separator)) {
        const bool isFirst = first;
        first = false;
        if (r.unterminated) {
            plan.refused.append({r.line, QStringLiteral("guillemet ouvert jamais fermé")});
            continue;
        }
        QDate date;
        const QString dateText = r.fields.value(0);
        const QString weightText = r.fields.value(1);
        const DateShape shape = readDate(dateText, form, date);
        const std::optional<double> kg = readWeight(weightText, form);
        if (isFirst && shape == DateShape::Unreadable && !kg)
            continue; // the column titles
        bool extra = false;
        for (qsizetype k = 2; k < r.fields.size(); ++k)
            extra |= !r.fields[k].trimmed().isEmpty();
        QString reason;
        if (r.fields.size() < 2 || extra)
            reason = QStringLiteral("%1 au lieu de 2 (la date et le poids, séparés par %2)")
                         .arg(Counted(r.fields.size(), QStringLiteral("champ"), QStringLiteral("champs")),
                              separatorName);
        else if (shape == DateShape::Unreadable)
            reason = QStringLiteral("date illisible %1, attendue sous la forme %2")
                         .arg(quoted(dateText),
                              form.iso ? QStringLiteral("AAAA-MM-JJ") : QStringLiteral("JJ/MM/AAAA"));
        else if (shape == DateShape::Impossible)
            reason = QStringLiteral("date impossible %1").arg(quoted(dateText));
        else if (date.year() < 2002 || date.year() > 2052)
            reason = QStringLiteral("année %1 en dehors de 2002 à 2052, les années que Kalimo affiche")
                         .arg(date.year());
        else if (!kg)
            reason = QStringLiteral("poids illisible %1").arg(quoted(weightText));
        else if (*kg == 0)
            reason = QStringLiteral("poids nul");
        else if (*kg < LowestWeight || *kg > HighestWeight)
            reason = QStringLiteral("poids %1 en dehors de 20 à 500 kg").arg(quoted(weightText.trimmed()));
        if (!reason.isEmpty()) {
            plan.refused.append({r.line, reason});
            continue;
        }
        QList<int>& lines = linesOf[date.toJulianDay()];
        if (lines.isEmpty()) {
            firstWeight.insert(date.toJulianDay(), *kg);
            accepted.push_back({date, *kg, r.line});
        } else if (firstWeight.value(date.toJulianDay()) != *kg) {
            firstWeight.insert(date.toJulianDay(), -1); // two weighings that disagree: neither is taken
        }
        // The same weight twice for a day is the same weighing, taken once.
        lines << r.line;
    }
    std::vector<Accepted> kept;
    for (const Accepted& a : accepted) {
        if (firstWeight.value(a.date.toJulianDay()) >= 0) {
            kept.push_back(a);
            continue;
        }
        const QList<int>& lines = linesOf.value(a.date.toJulianDay());
        QStringList numbers;
        for (int l : lines)
            numbers << QString::number(l);
        for (int l : lines)
            plan.refused.append({l, QStringLiteral("le %1 a des poids différents lignes %2")
                                        .arg(FormatDate(a.date), numbers.join(QStringLiteral(", ")))});
    }
    std::stable_sort(plan.refused.begin(), plan.refused.end(),
                     [](const RefusedLine& a, const RefusedLine& b) { return a.line < b.line; });

    const QString noWeight = QStringLiteral("0");
    for (const Accepted& a : kept) {
        // The weight as it will be stored and read back (a long decimal keeps 15 digits), so
        // that the summary compares what the file will really hold.
        const QString text = FormatAmount(a.kg);
        ImportedDay day{a.date, text, JournalWeight(text.toLatin1()).value_or(a.kg), a.line,
                        weights.ReadString(MonthKey(a.date.month(), a.date.year()),
                                           DayWeightKey(a.date.day()), noWeight)};
        if (day.stored.isEmpty() || day.stored == noWeight) {
            plan.fresh.push_back(std::move(day));
            continue;
        }
        const std::optional<double> stored = JournalWeight(day.stored.toUtf8());
        if (stored && std::fabs(*stored - a.kg) < 1e-9)
            plan.equal.push_back(std::move(day));
        else
            plan.differing.push_back(std::move(day));
    }
    return plan;
}

QString ImportSummary(const WeightImport& plan) {
    QStringList out;
    out << QStringLiteral("Jours nouveaux : %1").arg(plan.fresh.size());
    out << QStringLiteral("Jours identiques à ceux enregistrés : %1").arg(plan.equal.size());
    out << QStringLiteral("Jours différents de ceux enregistrés : %1").arg(plan.differing.size());
    constexpr int shown = 10;
    for (size_t k = 0; k < plan.differing.size() && k < shown; ++k) {
        const ImportedDay& d = plan.differing[k];
        out << QStringLiteral("    le %1 : %2 enregistré, %3 dans le fichier (ligne %4)")
                   .arg(FormatDate(d.date), d.stored, d.text)
                   .arg(d.line);
    }
    if (plan.differing.size() > shown)
        out << QStringLiteral("    … et %1")
                   .arg(Counted(qsizetype(plan.differing.size()) - shown,
                                QStringLiteral("autre jour différent"),
                                QStringLiteral("autres jours différents")));
    out << QStringLiteral("Lignes refusées : %1").arg(plan.refused.size());
    for (qsizetype k = 0; k < plan.refused.size() && k < shown; ++k)
        out << QStringLiteral("    ligne %1 : %2").arg(plan.refused[k].line).arg(plan.refused[k].reason);
    if (plan.refused.size() > shown)
        out << QStringLiteral("    … et %1")
                   .arg(Counted(plan.refused.size() - shown, QStringLiteral("autre ligne refusée"),
                                QStringLiteral("autres lignes refusées")));
    return out.join(QLatin1Char('\n'));
}

int ApplyWeightImport(ProfileFile& weights, const WeightImport& plan, bool replaceDiffering) {
    // Month (year, month) -> day -> text, months and days in order.
    std::map<std::pair<int, int>, std::map<int, QString>> months;
    int count = 0;
    auto take = [&](const std::vector<ImportedDay>& days) {
        for (const ImportedDay& d : days) {
            months[{d.date.year(), d.date.month()}][d.date.day()] = d.text;
            ++count;
        }
    };
    take(plan.fresh);
    if (replaceDiffering)
        take(plan.differing);
    if (months.empty())
        return 0;
    const QString noWeight = QStringLiteral("0");
    weights.Update([&](ProfileDocument& doc) {
        bool changed = false;
        for (const auto& [month, days] : months) {
            const QString section = MonthKey(month.second, month.first);
            for (int d = 1; d <= DaysInMonth(month.second, month.first); ++d) {
                const auto it = days.find(d);
                QString value =
                    it != days.end() ? it->second : doc.ReadString(section, DayWeightKey(d), noWeight);
                if (value.isEmpty())
                    value = noWeight;
                changed |= doc.WriteString(section, DayWeightKey(d), value);
            }
        }
        return changed;
    });
    return count;
}
