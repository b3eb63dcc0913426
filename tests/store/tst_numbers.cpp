#include "calories/foodlog.h"
#include "store/kalimoerror.h"
#include "store/numbers.h"
#include "testsupport/randomtexts.h"
#include "testsupport/tempdir.h"
#include "weight/weightrecords.h"

#include <QtTest>

class TestNumbers : public QObject {
    Q_OBJECT

  private Q_SLOTS:
    void parseDecimal_data();
    void parseDecimal();
    void parseInteger_data();
    void parseInteger();
    void conversionErrorsCarryTheText();
    void fieldsTakeOnlyTheirTexts_data();
    void fieldsTakeOnlyTheirTexts();
    void weightCellsReadBackAsTyped();
    void decimalFieldsReadBackAsTyped();
    void quantitiesReadBackAsTypedOrNotAtAll();
};

void TestNumbers::parseDecimal_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<double>("value");
    QTest::newRow("whole") << "68" << true << 68.0;
    QTest::newRow("comma") << "72,5" << true << 72.5;
    QTest::newRow("zero with decimals") << "0,0" << true << 0.0;
    QTest::newRow("leading comma") << ",5" << true << 0.5;
    QTest::newRow("trailing comma") << "5," << true << 5.0;
    QTest::newRow("blanks around") << " 71,8 " << true << 71.8;
    QTest::newRow("negative") << "-1,25" << true << -1.25;
    QTest::newRow("exponent") << "9E-5" << true << 9e-5;
    QTest::newRow("period") << "72.5" << false << 0.0;
    QTest::newRow("two commas") << "7,2,5" << false << 0.0;
    QTest::newRow("lone comma") << "," << false << 0.0;
    QTest::newRow("empty") << "" << false << 0.0;
    QTest::newRow("letters") << "abc" << false << 0.0;
    QTest::newRow("exponent without digits") << "1E" << false << 0.0;
    QTest::newRow("infinite") << "1E999" << false << 0.0;
}

void TestNumbers::parseDecimal() {
    QFETCH(QString, text);
    QFETCH(bool, ok);
    QFETCH(double, value);
    const auto parsed = ParseDecimal(text);
    QCOMPARE(parsed.has_value(), ok);
    if (ok)
        QCOMPARE(*parsed, value);
}

void TestNumbers::parseInteger_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<int>("value");
    QTest::newRow("plain") << "150" << true << 150;
    QTest::newRow("negative") << "-2" << true << -2;
    QTest::newRow("plus") << "+3" << true << 3;
    QTest::newRow("largest") << "2147483647" << true << 2147483647;
    QTest::newRow("beyond") << "2147483648" << false << 0;
    QTest::newRow("far beyond") << "99999999999999999999" << false << 0;
    QTest::newRow("decimal") << "1,5" << false << 0;
    QTest::newRow("sign alone") << "-" << false << 0;
    QTest::newRow("empty") << "" << false << 0;
}

void TestNumbers::parseInteger() {
    QFETCH(QString, text);
    QFETCH(bool, ok);
    QFETCH(int, value);
    const auto parsed = ParseInteger(text);
    QCOMPARE(parsed.has_value(), ok);
    if (ok)
        QCOMPARE(*parsed, value);
}

void TestNumbers::conversionErrorsCarryTheText() {
    try {
        StrToFloat(QStringLiteral("7,2,5"));
        QFAIL("no error");
    } catch (const KalimoError& e) {
        QCOMPARE(e.message(), QStringLiteral("'7,2,5' n'est pas une valeur en virgule flottante correcte"));
    }
    try {
        StrToInt(QStringLiteral("1,5"));
        QFAIL("no error");
    } catch (const KalimoError& e) {
        QCOMPARE(e.message(), QStringLiteral("'1,5' n'est pas une valeur entière correcte"));
    }
}

void TestNumbers::fieldsTakeOnlyTheirTexts_data() {
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("taken"); // empty: refused
    QTest::newRow("weight, period") << "weight"
                                    << "64.45"
                                    << "64,45";
    QTest::newRow("weight, two commas") << "weight"
                                        << "7,.1"
                                        << "";
    QTest::newRow("weight, letter") << "weight"
                                    << "62,3c"
                                    << "";
    QTest::newRow("food value, sign") << "food"
                                      << "-1"
                                      << "";
    QTest::newRow("quantity, minus") << "quantity"
                                     << "-20"
                                     << "-20";
    QTest::newRow("quantity, minus inside") << "quantity"
                                            << "2-0"
                                            << "";
    QTest::newRow("weight, lone comma") << "weight"
                                        << ","
                                        << "";
    QTest::newRow("weight, lone period") << "weight"
                                         << "."
                                         << "";
    QTest::newRow("food value, two commas") << "food"
                                            << "3,5,0.5"
                                            << "";
    QTest::newRow("food value, lone comma") << "food"
                                            << ","
                                            << "";
    QTest::newRow("quantity, comma kept for its message") << "quantity"
                                                          << "1,5"
                                                          << "1,5";
    QTest::newRow("quantity, period kept") << "quantity"
                                           << "1.5"
                                           << "1.5";
    QTest::newRow("quantity, letters") << "quantity"
                                       << "deux"
                                       << "";
    QTest::newRow("quantity, blank") << "quantity"
                                     << " "
                                     << "";
    QTest::newRow("cell, digit after the marker") << "cell0"
                                                  << "07"
                                                  << "7";
    QTest::newRow("cell, paste after the marker") << "cell0"
                                                  << "055"
                                                  << "55";
    QTest::newRow("cell, comma after the marker") << "cell0"
                                                  << "0,"
                                                  << "0,";
    QTest::newRow("cell, zero typed after a weight") << "cell7"
                                                     << "70"
                                                     << "70";
}

void TestNumbers::fieldsTakeOnlyTheirTexts() {
    QFETCH(QString, field);
    QFETCH(QString, text);
    QFETCH(QString, taken);
    QString changed = text;
    const bool takes = field == QLatin1String("weight")     ? TakesWeightText(changed)
                       : field == QLatin1String("food")     ? TakesFoodValueText(changed)
                       : field == QLatin1String("quantity") ? TakesQuantityText(changed)
                                                            : TakesWeightCellText(changed, field.mid(4));
    QCOMPARE(takes, !taken.isEmpty());
    if (takes)
        QCOMPARE(changed, taken);
}

// Whatever a weight cell takes is stored and read back by the month's reader as the same text,
// which the chart reads as a weight or as no weight, never as an error.
void TestNumbers::weightCellsReadBackAsTyped() {
    RandomTexts texts(27);
    const QString section = MonthKey(3, 2005);
    for (int i = 0; i < 3000; ++i) {
        const QString before = i % 3 == 0 ? QStringLiteral("0") : QStringLiteral("7");
        QString text = texts.Next();
        const QString typed = text;
        if (!TakesWeightCellText(text, before))
            continue;
        ProfileDocument doc;
        doc.WriteString(section, DayWeightKey(1), text.isEmpty() ? QStringLiteral("0") : text);
        const QString stored =
            ProfileDocument::Parse(doc.Serialize()).ReadString(section, DayWeightKey(1), {});
        QVERIFY2(stored == (text.isEmpty() ? QStringLiteral("0") : text), qPrintable(typed));
        try {
            ChartWeight(stored);
        } catch (const KalimoError&) {
            QFAIL(qPrintable(QStringLiteral("'%1' taken as '%2', which is no weight").arg(typed, stored)));
        }
    }
}

// Whatever the goal and the food editor's values take reads back as a number (or, empty, as
// nothing), never as the 0 an unreadable value counts for.
void TestNumbers::decimalFieldsReadBackAsTyped() {
    RandomTexts texts(28);
    for (int i = 0; i < 3000; ++i) {
        QString weight = texts.Next();
        QString food = weight;
        const QString typed = weight;
        if (TakesWeightText(weight))
            QVERIFY2(weight.isEmpty() || ParseDecimal(weight), qPrintable(typed));
        if (TakesFoodValueText(food)) {
            ProfileDocument doc;
            doc.WriteString(QStringLiteral("Pain"), QStringLiteral("c"), food);
            const QString stored = ProfileDocument::Parse(doc.Serialize())
                                       .ReadString(QStringLiteral("Pain"), QStringLiteral("c"), {});
            QVERIFY2(stored == food && (food.isEmpty() || ParseDecimal(stored)), qPrintable(typed));
        }
    }
}

// Whatever the quantity takes is either refused by "Ajouter" with its own text, nothing
// written, or stored as the whole number typed.
void TestNumbers::quantitiesReadBackAsTypedOrNotAtAll() {
    WorkingDir dir;
    ProfileFile log(FoodLogFileName(QStringLiteral("Paul")));
    RandomTexts texts(29);
    int added = 0;
    for (int i = 0; i < 400; ++i) {
        const QString text = texts.Next();
        if (!TakesQuantityText(text) || text.isEmpty())
            continue;
        const QByteArray before = ReadBytes(dir.file(QStringLiteral("Paul.cal")));
        const int old =
            ProfileDocument::Parse(before)
                .ReadString(QStringLiteral("1/3/2005"), QStringLiteral("Abats"), QStringLiteral("0"))
                .toInt();
        try {
            AddFoodToDay(log, QStringLiteral("1/3/2005"), QStringLiteral("Abats"), text);
        } catch (const KalimoError& e) {
            QCOMPARE(e.message(), Messages::NotAnInteger(text));
            QCOMPARE(ReadBytes(dir.file(QStringLiteral("Paul.cal"))), before);
            continue;
        }
        ++added;
        const std::optional<int> stored =
            ParseInteger(ProfileFile(FoodLogFileName(QStringLiteral("Paul")))
                             .ReadString(QStringLiteral("1/3/2005"), QStringLiteral("Abats"), {}));
        QVERIFY2(stored && *stored == old + text.toInt(), qPrintable(text));
    }
    QVERIFY(added > 10);
}

QTEST_APPLESS_MAIN(TestNumbers)
#include "tst_numbers.moc"
