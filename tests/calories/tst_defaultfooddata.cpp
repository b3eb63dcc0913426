// Checks the default food database (resources/data/calories.ini) that the program writes out on the
// first start: its shape, the fixed records, the number forms and that the values are plausible.
// The text is parsed here line by line, independently of the program's own reader.

#include <QtTest>

#include <QFile>
#include <QRegularExpression>
#include <QStringDecoder>

#include <algorithm>
#include <cmath>

namespace {

struct Section {
    QString name;
    QStringList keys;
    QStringList values;
};

struct Category {
    const char* name;
    int count;
};

struct EnergyException {
    const char* name;
    const char* reason;
};

// clang-format off
const Category kCategories[] = {
    {"viande", 244}, {"poisson", 123}, {"fruit", 72}, {"fruit sec", 10}, {"boisson", 98}, {"divers", 95},
    {"plante", 58}, {"dessert", 28}, {"légume", 112}, {"pâtisserie", 50}, {"friandise", 44}, {"fromage", 43},
    {"déjeuné", 7}, {"épice", 4}, {"Mc Donald", 1}, {"plat", 2}};

// Records whose p, l and g are written "0.00": under a comma separator they read as 0.
const char* const kPointRecords[] = {
    "Aneth", "Aromates", "Basilic (pistou)", "Café", "Camomille", "Canelle", "Câpres", "Cari ou curry",
    "Cerfeuil", "Chicorée (boisson)", "Ciboulette", "Clous de girofle", "Condiments",
    "Confitures (1 c. à soupe)", "Coriandre", "Crème de légumes (1 c. à s.)", "Crème fraîche (1 c. à soupe)",
    "Cumin", "Curry", "Eau", "Epices", "Estragon", "Fines herbes", "Girofle (clous)", "Harissa",
    "Herbes aromatiques", "Huile (1 c. à soupe)", "Huile de paraffine", "Infusions", "Laurier",
    "Nuôc-Mâm (1 c. à café)", "Miel (1 c. à soupe)", "Sauces (1 c. à soupe)", "Mayonnaise (1 c. à soupe)",
    "Vinaigrette (1 c. à soupe)", "Purée (p. de terre)"};

// The only records whose energy may stray from 4 p + 9 l + 4 g by more than 30 % + 5 kcal.
const char* const kAlcohol = "alcohol gives 7 kcal/g and is none of p, l, g";
const char* const kEnergyOnly = "portion entry that records the energy only";
const EnergyException kEnergyExceptions[] = {
    {"Bière", kAlcohol}, {"Bière brune", kAlcohol}, {"Champagne", kAlcohol}, {"Cidre brut", kAlcohol},
    {"Cidre doux", kAlcohol}, {"Cognac", kAlcohol}, {"Kir", kAlcohol}, {"Pastis", kAlcohol},
    {"Porto", kAlcohol}, {"Rhum", kAlcohol}, {"Vin blanc", kAlcohol}, {"Vin rosé", kAlcohol},
    {"Vin rouge", kAlcohol}, {"Vodka", kAlcohol}, {"Whisky", kAlcohol},
    {"Chewing-gum sans sucre", "its glucides are polyols, about 2.4 kcal/g instead of 4"},
    {"Sauces (1 c, à soupe)", kEnergyOnly},
    {"Mayonnaise (1 c, à soupe)", kEnergyOnly},
    {"Crème de légumes (1 c, à s,)", kEnergyOnly}};
// clang-format on

const QRegularExpression kWhole(QStringLiteral("^\\d+$"));
const QRegularExpression kCommaForm(QStringLiteral("^\\d+(,\\d{1,2})?$"));
const QRegularExpression kPointForm(QStringLiteral("^\\d+\\.\\d\\d$"));

double number(QString text) {
    return text.replace(u',', u'.').toDouble();
}

QString value(const Section* record, const char* key) {
    return record->values.value(record->keys.indexOf(key));
}

bool energyMatchesMacronutrients(const Section* record) {
    const double atwater =
        4 * number(value(record, "p")) + 9 * number(value(record, "l")) + 4 * number(value(record, "g"));
    return std::abs(number(value(record, "c")) - atwater) <= 0.30 * atwater + 5;
}

// Accent- and case-blind key, the order in which the foods were typed in.
QString sortKey(const QString& name) {
    QString key;
    for (QChar ch : name.normalized(QString::NormalizationForm_KD))
        if (ch.category() != QChar::Mark_NonSpacing)
            key += ch;
    return key.replace(QChar(0x153), QStringLiteral("oe"))
        .replace(QChar(0x152), QStringLiteral("OE"))
        .toLower();
}

bool fitsWindows1252(QChar ch) {
    static const QString upperHalfExtras = QString::fromUtf8("€‚ƒ„…†‡ˆ‰Š‹ŒŽ‘’“”•–—˜™š›œžŸ");
    const char16_t u = ch.unicode();
    return (u >= 0x20 && u < 0x7F) || (u >= 0xA0 && u <= 0xFF) || upperHalfExtras.contains(ch);
}

bool isCategory(const QString& name) {
    return std::any_of(std::begin(kCategories), std::end(kCategories),
                       [&](const Category& c) { return name.compare(c.name, Qt::CaseInsensitive) == 0; });
}

} // namespace

class TestDefaultFoodData : public QObject {
    Q_OBJECT

    QString m_text;
    QStringList m_lines;
    QStringList m_strayLines;
    QList<Section> m_sections;
    QList<const Section*> m_records;         // food records in file order
    QHash<QString, const Section*> m_byName; // section names are matched without regard to case

    const Section* find(const QString& name) const { return m_byName.value(name.toLower()); }

    // The first record in sections [from, to) whose name does not sort after the record before it.
    QString firstOutOfOrder(qsizetype from, qsizetype to) const {
        QString previous;
        for (qsizetype i = from; i < to; ++i) {
            if (isCategory(m_sections.at(i).name))
                continue;
            const QString key = sortKey(m_sections.at(i).name);
            if (!previous.isNull() && key <= previous)
                return m_sections.at(i).name;
            previous = key;
        }
        return QString();
    }

  private Q_SLOTS:
    void initTestCase();
    void textForm();
    void categories_data();
    void categories();
    void layout();
    void records();
    void fixedRecords_data();
    void fixedRecords();
    void valueForms();
    void twins_data();
    void twins();
    void largestValues();
    void energyException_data();
    void energyException();
    void energyOfEveryOtherRecord();
};

void TestDefaultFoodData::initTestCase() {
    QFile file(QStringLiteral(KALIMO_DEFAULT_FOOD_DATA));
    QVERIFY2(file.open(QIODevice::ReadOnly), qPrintable(file.fileName()));
    QStringDecoder utf8(QStringDecoder::Utf8);
    m_text = utf8(file.readAll());
    QVERIFY2(!utf8.hasError(), "the text must be valid UTF-8");

    m_lines = m_text.split(u'\n');
    QCOMPARE(m_lines.takeLast(), QString()); // the last line ends with a line break too
    for (const QString& line : std::as_const(m_lines)) {
        const qsizetype eq = line.indexOf(u'=');
        if (line.startsWith(u'[') && line.endsWith(u']'))
            m_sections.append({line.mid(1, line.size() - 2), {}, {}});
        else if (eq > 0 && !m_sections.isEmpty()) {
            m_sections.last().keys.append(line.left(eq));
            m_sections.last().values.append(line.mid(eq + 1));
        } else
            m_strayLines.append(line);
    }
    for (const Section& section : std::as_const(m_sections)) {
        if (m_byName.contains(section.name.toLower()))
            QFAIL(qPrintable("section named twice: " + section.name));
        m_byName.insert(section.name.toLower(), &section);
        if (section.name != "catégories" && !isCategory(section.name))
            m_records.append(&section);
    }
}

void TestDefaultFoodData::textForm() {
    QCOMPARE(m_lines.size(), 6970);
    QCOMPARE(m_sections.size(), 1008);
    QVERIFY(!m_text.contains(u'\r'));
    QVERIFY2(m_strayLines.isEmpty(), qPrintable(m_strayLines.join(" | ")));
    for (QChar ch : std::as_const(m_text))
        if (ch != u'\n' && !fitsWindows1252(ch))
            QFAIL(qPrintable(QString("U+%1 cannot be written in Windows-1252").arg(ch.unicode(), 4, 16)));
}

void TestDefaultFoodData::categories_data() {
    QTest::addColumn<int>("position");
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("count");
    for (int i = 0; i < int(std::size(kCategories)); ++i)
        QTest::newRow(kCategories[i].name) << i << QString(kCategories[i].name) << kCategories[i].count;
}

void TestDefaultFoodData::categories() {
    QFETCH(int, position);
    QFETCH(QString, name);
    QFETCH(int, count);
    const Section& list = m_sections.first();
    QCOMPARE(list.name, QString("catégories"));
    QCOMPARE(list.keys.size(), qsizetype(std::size(kCategories)));
    QCOMPARE(list.keys.at(position), name);
    QCOMPARE(list.values.at(position), QString());
    const Section* foods = find(name);
    QVERIFY(foods);
    QCOMPARE(foods->keys.size(), qsizetype(count));
    QCOMPARE(foods->values.filter(QRegularExpression(".")), QStringList());
}

void TestDefaultFoodData::layout() {
    // The category list, "[viande]", then runs of records with each later category section between two runs.
    QCOMPARE(m_sections.at(1).name, QString("viande"));
    QCOMPARE(find("viande")->keys.mid(0, 3), QStringList({"Abats", "Abats en sauce", "Agneau"}));
    QCOMPARE(m_records.first(), &m_sections.at(2));
    QCOMPARE(m_records.first()->name, QString("Abats"));
    QStringList order;
    QList<qsizetype> positions;
    for (qsizetype i = 1; i < m_sections.size(); ++i) {
        const QString& name = m_sections.at(i).name;
        if (!isCategory(name))
            continue;
        order.append(name);
        positions.append(i);
        QVERIFY2(i == 1 || !isCategory(m_sections.at(i - 1).name), qPrintable(name));
        QVERIFY2(i + 1 < m_sections.size() && !isCategory(m_sections.at(i + 1).name), qPrintable(name));
    }
    QStringList expected;
    for (const Category& c : kCategories)
        expected.append(c.name);
    QCOMPARE(order, expected);
    QCOMPARE(find("Mc Donald")->keys, QStringList({"Cheeseburger"}));
    QCOMPARE(find("plat")->keys, QStringList({"Pizza", "Quiche (unité)"}));

    // The foods were typed in alphabetically; those behind "[Mc Donald]" came later, in order again.
    const qsizetype mcDonald = positions.at(14);
    QCOMPARE(firstOutOfOrder(2, mcDonald), QString());
    QCOMPARE(firstOutOfOrder(mcDonald + 1, positions.at(15)), QString());
}

void TestDefaultFoodData::records() {
    // Five keys each, a record for every listed food and every record listed exactly once.
    QCOMPARE(m_records.size(), 991);
    QHash<const Section*, int> listings;
    for (const Category& c : kCategories)
        for (const QString& food : find(c.name)->keys)
            ++listings[find(food)];
    for (const Section* record : std::as_const(m_records)) {
        const QString& name = record->name;
        QVERIFY2(listings.value(record) == 1, qPrintable(name));
        QVERIFY2(!name.contains(u']') && !name.contains(u'=') && name == name.trimmed(), qPrintable(name));
        QCOMPARE(record->keys, QStringList({"a", "c", "p", "l", "g"}));
        QCOMPARE(value(record, "a"), name);
    }
    QCOMPARE(listings.size(), m_records.size()); // nothing listed that is not a food record
}

void TestDefaultFoodData::fixedRecords_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QStringList>("cplg");
    QTest::newRow("first record") << "Abats" << QStringList{"120", "17", "6", "0"};
    QTest::newRow("decimal commas") << "Abricots secs" << QStringList{"272", "4", "0,5", "63"};
    QTest::newRow("per piece") << "Baguette (unité)" << QStringList{"510", "14", "1,6", "110"};
    QTest::newRow("oil") << "Arachide (huile)" << QStringList{"900", "0", "99", "0"};
    QTest::newRow("fast food") << "Cheeseburger" << QStringList{"305", "16", "15", "28"};
    QTest::newRow("points") << "Confitures (1 c. à soupe)" << QStringList{"70", "0.00", "0.00", "17.50"};
}

void TestDefaultFoodData::fixedRecords() {
    QFETCH(QString, name);
    QFETCH(QStringList, cplg);
    const Section* record = find(name);
    QVERIFY(record);
    QCOMPARE(record->values.mid(1), cplg);
}

void TestDefaultFoodData::valueForms() {
    // c is whole; p, l, g are whole or have one or two decimals after a comma, except in the
    // point-form records, where all three have a point and two decimals.
    QSet<QString> pointRecords;
    for (const char* name : kPointRecords) {
        QVERIFY2(find(name), name);
        pointRecords.insert(name);
    }
    QCOMPARE(pointRecords.size(), 36);
    int commaValues = 0;
    int pointValues = 0;
    for (const Section* record : std::as_const(m_records)) {
        const QString c = value(record, "c");
        QVERIFY2(kWhole.match(c).hasMatch() && c.toInt() <= 900, qPrintable(record->name + ": c=" + c));
        const QRegularExpression& form = pointRecords.contains(record->name) ? kPointForm : kCommaForm;
        for (const char* key : {"p", "l", "g"}) {
            const QString v = value(record, key);
            QVERIFY2(form.match(v).hasMatch(), qPrintable(record->name + ": " + key + "=" + v));
            commaValues += v.contains(u',');
            pointValues += v.contains(u'.');
        }
    }
    QCOMPARE(commaValues, 364);
    QCOMPARE(pointValues, 108);
}

void TestDefaultFoodData::twins_data() {
    // Position among the last ten records, name, category, c; p; l; g.
    QTest::addColumn<int>("position");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("category");
    QTest::addColumn<QStringList>("cplg");
    // clang-format off
    QTest::newRow("Nuôc-Mâm") << 0 << "Nuôc-Mâm (1 c, à café)" << "boisson" << QStringList{"1", "0,3", "0", "0"};
    QTest::newRow("Confitures") << 1 << "Confitures (1 c, à soupe)" << "dessert" << QStringList{"70", "0", "0", "17,5"};
    QTest::newRow("Miel") << 2 << "Miel (1 c, à soupe)" << "divers" << QStringList{"80", "0", "0", "20"};
    QTest::newRow("Sauces") << 3 << "Sauces (1 c, à soupe)" << "divers" << QStringList{"90", "0", "0", "0"};
    QTest::newRow("Mayonnaise") << 4 << "Mayonnaise (1 c, à soupe)" << "divers" << QStringList{"100", "0", "0", "0"};
    QTest::newRow("Crème de légumes") << 5 << "Crème de légumes (1 c, à s,)" << "légume" << QStringList{"200", "0", "0", "0"};
    QTest::newRow("Vinaigrette") << 6 << "Vinaigrette (1 c, à soupe)" << "divers" << QStringList{"90", "0", "10", "0"};
    QTest::newRow("Huile") << 7 << "Huile (1 c, à soupe)" << "divers" << QStringList{"100", "0", "11", "0"};
    QTest::newRow("Purée") << 8 << "Purée (p, de terre)" << "légume" << QStringList{"95", "2", "3", "15"};
    QTest::newRow("Crème fraîche") << 9 << "Crème fraîche (1 c, à soupe)" << "fromage" << QStringList{"60", "0,6", "6", "0,8"};
    // clang-format on
}

void TestDefaultFoodData::twins() {
    QFETCH(int, position);
    QFETCH(QString, name);
    QFETCH(QString, category);
    QFETCH(QStringList, cplg);
    const Section* twin = m_records.at(m_records.size() - 10 + position);
    QCOMPARE(twin->name, name);
    QCOMPARE(twin->values.mid(1), cplg);

    // The point-form member is listed first, the twin right behind it, and both carry the same numbers.
    const QString first = QString(name).replace(u',', u'.');
    const QStringList& list = find(category)->keys;
    QVERIFY(list.contains(first));
    QCOMPARE(list.indexOf(name), list.indexOf(first) + 1);
    QStringList firstValues{cplg.at(0)};
    for (int i = 1; i < 4; ++i)
        firstValues.append(QString::number(number(cplg.at(i)), 'f', 2));
    QCOMPARE(find(first)->values.mid(1), firstValues);
}

void TestDefaultFoodData::largestValues() {
    QStringList largestG;
    QStringList largestC;
    for (const Section* record : std::as_const(m_records)) {
        if (number(value(record, "g")) >= 110)
            largestG.append(record->name);
        if (number(value(record, "c")) >= 900)
            largestC.append(record->name);
    }
    QCOMPARE(largestG, QStringList({"Baguette (unité)"}));
    QVERIFY2(largestC.size() >= 2 && largestC.contains("Arachide (huile)"), qPrintable(largestC.join(", ")));
    for (const QString& name : std::as_const(largestC))
        QCOMPARE(value(find(name), "c"), QString("900"));
}

void TestDefaultFoodData::energyException_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("reason");
    for (const EnergyException& e : kEnergyExceptions)
        QTest::newRow(e.name) << QString(e.name) << QString(e.reason);
}

void TestDefaultFoodData::energyException() {
    // An exception stays listed only while the values need it.
    QFETCH(QString, name);
    QFETCH(QString, reason);
    const Section* record = find(name);
    QVERIFY(record);
    QVERIFY(!reason.isEmpty());
    QVERIFY2(!energyMatchesMacronutrients(record), "the energy matches now: drop the exception");
}

void TestDefaultFoodData::energyOfEveryOtherRecord() {
    // Point-form values read as 0, so those records are left out.
    QSet<QString> exceptions;
    for (const EnergyException& e : kEnergyExceptions)
        exceptions.insert(e.name);
    QStringList wrong;
    for (const Section* record : std::as_const(m_records))
        if (!exceptions.contains(record->name) && !value(record, "p").contains(u'.') &&
            !energyMatchesMacronutrients(record))
            wrong.append(record->name);
    QVERIFY2(wrong.isEmpty(), qPrintable("energy far from 4 p + 9 l + 4 g: " + wrong.join(", ")));
}

QTEST_APPLESS_MAIN(TestDefaultFoodData)
#include "tst_defaultfooddata.moc"
