#include "store/kalimoerror.h"
#include "store/numbers.h"

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
    QTest::newRow("food value, commas") << "food"
                                        << "1.2,5"
                                        << "1,2,5";
    QTest::newRow("food value, sign") << "food"
                                      << "-1"
                                      << "";
    QTest::newRow("quantity, minus") << "quantity"
                                     << "-20"
                                     << "-20";
    QTest::newRow("quantity, minus inside") << "quantity"
                                            << "2-0"
                                            << "";
    QTest::newRow("quantity, comma") << "quantity"
                                     << "1,5"
                                     << "";
}

void TestNumbers::fieldsTakeOnlyTheirTexts() {
    QFETCH(QString, field);
    QFETCH(QString, text);
    QFETCH(QString, taken);
    QString changed = text;
    const bool takes = field == QLatin1String("weight") ? TakesWeightText(changed)
                       : field == QLatin1String("food") ? TakesFoodValueText(changed)
                                                        : TakesQuantityText(changed);
    QCOMPARE(takes, !taken.isEmpty());
    if (takes)
        QCOMPARE(changed, taken);
}

QTEST_APPLESS_MAIN(TestNumbers)
#include "tst_numbers.moc"
