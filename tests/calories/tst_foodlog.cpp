#include "calories/defaultfooddatabase.h"
#include "calories/fooddatabase.h"
#include "calories/foodeditor.h"
#include "calories/foodlog.h"
#include "store/kalimoerror.h"
#include "testsupport/filesizelimit.h"
#include "testsupport/randomtexts.h"
#include "testsupport/tempdir.h"

#include <QtTest>

namespace {
const QString Day = QStringLiteral("5/3/2004");

QByteArray sectionBytes(const QByteArray& file, const QByteArray& header) {
    const qsizetype start = file.indexOf("\r\n" + header + "\r\n");
    if (start < 0)
        return {};
    const qsizetype next = file.indexOf("\r\n[", start + header.size() + 2);
    return file.mid(start + 2, (next < 0 ? file.size() : next + 2) - start - 2);
}
} // namespace

class TestFoodLog : public QObject {
    Q_OBJECT

  private Q_SLOTS:
    void formatAmount_data();
    void formatAmount();
    void firstStartWritesTheDefaultDatabase();
    void presentDatabaseIsLeftAlone();
    void categoriesSortAsAFrenchReaderExpects();
    void dayTotalsFromTheDatabase();
    void quantitiesAddUp();
    void pointValuesCountAsZero();
    void removingAFood();
    void deletingAFoodKeepsItInTheDeletedFile();
    void renamingAndMergingCategories();
    void savingANewFood();
    void deletingACategory();
    void namesTheFileCannotHold_data();
    void namesTheFileCannotHold();
    void namesTakenReadBackAsTyped();
};

void TestFoodLog::formatAmount_data() {
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("text");
    QTest::newRow("whole") << 305.0 << "305";
    QTest::newRow("one decimal") << 52.5 << "52,5";
    QTest::newRow("below one") << 0.9 << "0,9";
    QTest::newRow("sum error hidden") << 0.1 + 0.2 << "0,3";
    QTest::newRow("smallest plain") << 0.0001 << "0,0001";
    QTest::newRow("exponent below") << 0.00009 << "9E-5";
    QTest::newRow("exponent with decimals") << 0.000012 << "1,2E-5";
    QTest::newRow("zero") << 0.0 << "0";
    QTest::newRow("negative") << -17.5 << "-17,5";
    QTest::newRow("fifteen digits") << 123456789012345.0 << "123456789012345";
    QTest::newRow("sixteen digits") << 1234567890123456.0 << "1,23456789012346E15";
    QTest::newRow("no grouping") << 1234567.25 << "1234567,25";
}

void TestFoodLog::formatAmount() {
    QFETCH(double, value);
    QFETCH(QString, text);
    QCOMPARE(FormatAmount(value), text);
}

void TestFoodLog::firstStartWritesTheDefaultDatabase() {
    WorkingDir dir;
    QCOMPARE(CreateDefaultFoodDatabase(), DefaultDatabaseOutcome::Created);
    const QByteArray bytes = ReadBytes(dir.file(QStringLiteral("calories.ini")));
    QCOMPARE(bytes.count("\r\n"), 6970);
    QCOMPARE(bytes.count('\n'), 6970); // no bare line feeds
    QVERIFY(bytes.startsWith("[cat\xE9gories]\r\nviande=\r\npoisson=\r\n"));
    QVERIFY(bytes.endsWith("[Cr\xE8me fra\xEE"
                           "che (1 c, \xE0 soupe)]\r\na=Cr\xE8me fra\xEE"
                           "che (1 c, \xE0 soupe)\r\n"
                           "c=60\r\np=0,6\r\nl=6\r\ng=0,8\r\n"));
    QCOMPARE(FilesHere(), QStringList{QStringLiteral("calories.ini")});
    QCOMPARE(CreateDefaultFoodDatabase(), DefaultDatabaseOutcome::AlreadyPresent);
}

void TestFoodLog::presentDatabaseIsLeftAlone() {
    WorkingDir dir;
    WriteBytes(dir.file(QStringLiteral("calories.ini")), QByteArray());
    QCOMPARE(CreateDefaultFoodDatabase(), DefaultDatabaseOutcome::AlreadyPresent);
    QCOMPARE(ReadBytes(dir.file(QStringLiteral("calories.ini"))), QByteArray());

    WorkingDir full;
    {
        FileSizeLimit noRoom(4096);
        try {
            CreateDefaultFoodDatabase();
            QFAIL("no error");
        } catch (const KalimoError& e) {
            QCOMPARE(e.message(), QStringLiteral("Impossible de créer le fichier calories.ini"));
        }
    }
    QVERIFY(FilesHere().isEmpty()); // never half a database
}

void TestFoodLog::categoriesSortAsAFrenchReaderExpects() {
    WorkingDir dir;
    CreateDefaultFoodDatabase();
    const ProfileFile db(QStringLiteral("./calories.ini"));
    QStringList names = CategoryNames(db.Document());
    QCOMPARE(names.first(), QStringLiteral("viande"));
    SortForDisplay(names);
    QCOMPARE(names, (QStringList{"boisson", "déjeuné", "dessert", "divers", "épice", "friandise", "fromage",
                                 "fruit", "fruit sec", "légume", "Mc Donald", "pâtisserie", "plante", "plat",
                                 "poisson", "viande"}));
    QCOMPARE(CategoryFoods(db.Document(), QStringLiteral("plat")), (QStringList{"Pizza", "Quiche (unité)"}));
}

void TestFoodLog::dayTotalsFromTheDatabase() {
    WorkingDir dir;
    CreateDefaultFoodDatabase();
    ProfileFile db(QStringLiteral("./calories.ini"));
    ProfileFile log(QStringLiteral(".\\Paul.cal"));
    AddFoodToDay(log, Day, QStringLiteral("Abats"), QStringLiteral("2"));
    AddFoodToDay(log, Day, QStringLiteral("Abricots secs"), QStringLiteral("3"));
    AddFoodToDay(log, Day, QStringLiteral("Nourriture inconnue"), QStringLiteral("4"));
    const DayFoods day = ReadDayFoods(log.Document(), db.Document(), Day);
    QCOMPARE(day.rows.size(), 3);
    const DayFoodRow& abats = day.rows[0];
    QCOMPARE((QStringList{abats.name, abats.quantity, abats.calories, abats.proteins, abats.glucides,
                          abats.lipides}),
             (QStringList{"Abats", "2", "240", "34", "0", "12"}));
    QCOMPARE(day.rows[1].lipides, QStringLiteral("1,5"));
    QCOMPARE(day.rows[2].calories, QStringLiteral("0")); // no record: counts nothing
    QCOMPARE((QStringList{day.calories, day.proteins, day.glucides, day.lipides}),
             (QStringList{"1056", "46", "189", "13,5"}));
    QVERIFY(ReadDayFoods(log.Document(), db.Document(), QStringLiteral("6/3/2004")).rows.isEmpty());
}

void TestFoodLog::quantitiesAddUp() {
    WorkingDir dir;
    ProfileFile log(QStringLiteral(".\\Paul.cal"));
    AddFoodToDay(log, Day, QStringLiteral("Abats"), QStringLiteral("2"));
    AddFoodToDay(log, Day, QStringLiteral("Pizza"), QStringLiteral("0"));
    AddFoodToDay(log, Day, QStringLiteral("abats"), QStringLiteral("3"));
    QCOMPARE(ReadBytes(dir.file(QStringLiteral("Paul.cal"))),
             QByteArray("[5/3/2004]\r\nAbats=5\r\nPizza=0\r\n"));
    AddFoodToDay(log, Day, QStringLiteral("Abats"), QStringLiteral("-7"));
    QCOMPARE(log.ReadString(Day, QStringLiteral("Abats"), {}), QStringLiteral("-2"));

    const QByteArray before = ReadBytes(dir.file(QStringLiteral("Paul.cal")));
    for (const QString& bad :
         {QStringLiteral("1,5"), QStringLiteral(" "), QStringLiteral("deux"), QStringLiteral("-")}) {
        try {
            AddFoodToDay(log, Day, QStringLiteral("Abats"), bad);
            QFAIL("no error");
        } catch (const KalimoError& e) {
            QCOMPARE(e.message(), QStringLiteral("'%1' n'est pas une valeur entière correcte").arg(bad));
        }
    }
    AddFoodToDay(log, Day, QStringLiteral("Pizza"), QStringLiteral("2147483647"));
    QVERIFY_THROWS_EXCEPTION(KalimoError,
                             AddFoodToDay(log, Day, QStringLiteral("Pizza"), QStringLiteral("1")));
    QCOMPARE(log.ReadString(Day, QStringLiteral("Pizza"), {}), QStringLiteral("2147483647"));
    QVERIFY(before != ReadBytes(dir.file(QStringLiteral("Paul.cal"))));
}

void TestFoodLog::pointValuesCountAsZero() {
    WorkingDir dir;
    CreateDefaultFoodDatabase();
    ProfileFile db(QStringLiteral("./calories.ini"));
    ProfileFile log(QStringLiteral(".\\Paul.cal"));
    const QString jam = QStringLiteral("Confitures (1 c. à soupe)");
    const QString twin = QStringLiteral("Confitures (1 c, à soupe)");
    QCOMPARE(FoodValueText(db.Document(), jam, QStringLiteral("g")), QStringLiteral("17.50"));
    AddFoodToDay(log, Day, jam, QStringLiteral("1"));
    AddFoodToDay(log, Day, twin, QStringLiteral("1"));
    const DayFoods day = ReadDayFoods(log.Document(), db.Document(), Day);
    QCOMPARE(day.rows[0].glucides, QStringLiteral("0"));
    QCOMPARE(day.rows[1].glucides, QStringLiteral("17,5"));
}

void TestFoodLog::removingAFood() {
    WorkingDir dir;
    ProfileFile log(QStringLiteral(".\\Paul.cal"));
    AddFoodToDay(log, Day, QStringLiteral("Abats"), QStringLiteral("2"));
    RemoveFoodFromDay(log, Day, QStringLiteral("ABATS"));
    QCOMPARE(ReadBytes(dir.file(QStringLiteral("Paul.cal"))), QByteArray("[5/3/2004]\r\n"));
    QVERIFY(log.ReadSection(Day).isEmpty());
}

void TestFoodLog::deletingAFoodKeepsItInTheDeletedFile() {
    WorkingDir dir;
    CreateDefaultFoodDatabase();
    ProfileFile db(QStringLiteral("./calories.ini"));
    ProfileFile deleted(QStringLiteral("./calsuppr.ini"));
    DeleteFood(db, deleted, QStringLiteral("viande"), QStringLiteral("Abats"));
    const QByteArray database = ReadBytes(dir.file(QStringLiteral("calories.ini")));
    QVERIFY(!database.contains("[Abats]"));
    QVERIFY(!database.contains("\r\nAbats=\r\n"));
    QVERIFY(database.contains("[viande]\r\nAbats en sauce=\r\n"));
    QCOMPARE(database.count("\r\n"), 6970 - 7);
    QCOMPARE(ReadBytes(dir.file(QStringLiteral("calsuppr.ini"))),
             QByteArray("[Abats]\r\na=Abats\r\nc=120\r\np=17\r\nl=6\r\ng=0\r\n[viande]\r\nAbats=\r\n"));

    // Without a category, the record is kept and the database left as it was.
    try {
        DeleteFood(db, deleted, QString(), QStringLiteral("Pizza"));
        QFAIL("no error");
    } catch (const KalimoError& e) {
        QCOMPARE(e.message(), QStringLiteral("Indice de liste hors limites (-1)"));
    }
    QVERIFY(ReadBytes(dir.file(QStringLiteral("calsuppr.ini"))).contains("[Pizza]\r\na=Pizza\r\n"));
    QCOMPARE(ReadBytes(dir.file(QStringLiteral("calories.ini"))), database);
}

void TestFoodLog::renamingAndMergingCategories() {
    WorkingDir dir;
    CreateDefaultFoodDatabase();
    ProfileFile db(QStringLiteral("./calories.ini"));
    const QByteArray before = ReadBytes(dir.file(QStringLiteral("calories.ini")));
    RenameCategory(db, QStringLiteral("plat"), QStringLiteral("PLAT")); // its own name: no change
    QCOMPARE(ReadBytes(dir.file(QStringLiteral("calories.ini"))), before);

    RenameCategory(db, QStringLiteral("plat"), QStringLiteral("plats cuisinés"));
    const QByteArray after = ReadBytes(dir.file(QStringLiteral("calories.ini")));
    QVERIFY(!after.contains("\r\nplat=\r\n"));
    QVERIFY(!after.contains("[plat]"));
    QCOMPARE(sectionBytes(after, "[plats cuisin\xE9s]"),
             QByteArray("[plats cuisin\xE9s]\r\nPizza=\r\nQuiche (unit\xE9)=\r\n"));
    QCOMPARE(CategoryNames(db.Document()).constLast(), QStringLiteral("plats cuisinés"));
    QCOMPARE(sectionBytes(after, "[Pizza]"), sectionBytes(before, "[Pizza]"));

    // Into an existing category: the lists merge, a food in both keeps its place.
    SaveFood(db, QStringLiteral("épice"), QStringLiteral("Pizza"), "1", "1", "1", "1");
    RenameCategory(db, QStringLiteral("plats cuisinés"), QStringLiteral("épice"));
    QCOMPARE(CategoryFoods(db.Document(), QStringLiteral("épice")),
             (QStringList{"Canelle", "Clous de girofle", "Cumin", "Curry", "Pizza", "Quiche (unité)"}));
    QVERIFY(!CategoryNames(db.Document()).contains(QStringLiteral("plats cuisinés")));
}

void TestFoodLog::savingANewFood() {
    WorkingDir dir;
    CreateDefaultFoodDatabase();
    ProfileFile db(QStringLiteral("./calories.ini"));
    SaveFood(db, QStringLiteral("divers"), QStringLiteral("Tofu fumé"), "100", "10", "20", "5");
    const QByteArray bytes = ReadBytes(dir.file(QStringLiteral("calories.ini")));
    QVERIFY(bytes.endsWith("[Tofu fum\xE9]\r\na=Tofu fum\xE9\r\nc=100\r\np=10\r\ng=20\r\nl=5\r\n"));
    QCOMPARE(CategoryFoods(db.Document(), QStringLiteral("divers")).constLast(), QStringLiteral("Tofu fumé"));
    // Saving it again with other values changes the record in place.
    SaveFood(db, QStringLiteral("divers"), QStringLiteral("Tofu fumé"), "120", "10", "20", "5");
    QVERIFY(ReadBytes(dir.file(QStringLiteral("calories.ini"))).endsWith("c=120\r\np=10\r\ng=20\r\nl=5\r\n"));
    QCOMPARE(CategoryFoods(db.Document(), QStringLiteral("divers")).count(QStringLiteral("Tofu fumé")), 1);
}

void TestFoodLog::deletingACategory() {
    WorkingDir dir;
    CreateDefaultFoodDatabase();
    ProfileFile db(QStringLiteral("./calories.ini"));
    ProfileFile deleted(QStringLiteral("./calsuppr.ini"));
    DeleteCategory(db, deleted, QStringLiteral("plat"), QStringLiteral("plat"));
    const QByteArray bytes = ReadBytes(dir.file(QStringLiteral("calories.ini")));
    QVERIFY(!bytes.contains("[Pizza]"));
    QVERIFY(!bytes.contains("[plat]"));
    QVERIFY(!bytes.contains("\r\nplat=\r\n"));
    QCOMPARE(ReadBytes(dir.file(QStringLiteral("calsuppr.ini"))).count("\r\n"), 2 * 6 + 3);
    QVERIFY(ReadBytes(dir.file(QStringLiteral("calsuppr.ini")))
                .contains("[plat]\r\nPizza=\r\nQuiche (unit\xE9)=\r\n"));
}

void TestFoodLog::namesTheFileCannotHold_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("refused");
    QTest::newRow("ordinary") << QStringLiteral("Tarte aux pommes (1 part)") << false;
    QTest::newRow("empty") << QString() << true;
    QTest::newRow("blank") << QStringLiteral("   ") << true;
    QTest::newRow("bracket") << QStringLiteral("a]b") << true;
    QTest::newRow("equals") << QStringLiteral("a=b") << true;
    QTest::newRow("leading semicolon") << QStringLiteral(";x") << true;
    QTest::newRow("leading bracket") << QStringLiteral("[x") << true;
    QTest::newRow("trailing blank") << QStringLiteral("x ") << true;
    QTest::newRow("carriage return") << QStringLiteral("Pates\rCR") << true;
    QTest::newRow("line feed") << QStringLiteral("Pates\nLF") << true;
    QTest::newRow("tab") << QStringLiteral("Pates\tfraîches") << true;
    QTest::newRow("quoted") << QStringLiteral("\"Pates\"") << true;
    QTest::newRow("outside the code page") << QStringLiteral("Pierogi (Łódź)") << true;
    QTest::newRow("quote inside") << QStringLiteral("Pates \"maison\"") << false;
}

void TestFoodLog::namesTheFileCannotHold() {
    QFETCH(QString, name);
    QFETCH(bool, refused);
    QCOMPARE(NameProblem(name, true).has_value(), refused);
    QCOMPARE(NameProblem(name, false).has_value(), refused);
}

// Whatever name the editor takes is written and read back as the same food: listed under its
// category by that name, its record named so, the day's log counting it.
void TestFoodLog::namesTakenReadBackAsTyped() {
    RandomTexts texts(30);
    int taken = 0;
    for (int i = 0; i < 3000; ++i) {
        const QString name = QStringLiteral("P") + texts.Next();
        if (NameProblem(name, false))
            continue;
        ++taken;
        ProfileDocument db;
        db.WriteString(QStringLiteral("plat"), name, QString());
        db.WriteString(name, QStringLiteral("a"), name);
        db.WriteString(name, QStringLiteral("c"), QStringLiteral("100"));
        ProfileDocument log;
        log.WriteString(Day, name, QStringLiteral("2"));
        const ProfileDocument dbRead = ProfileDocument::Parse(db.Serialize());
        const DayFoods day = ReadDayFoods(ProfileDocument::Parse(log.Serialize()), dbRead, Day);
        QVERIFY2(CategoryFoods(dbRead, QStringLiteral("plat")) == QStringList{name}, qPrintable(name));
        QVERIFY2(FoodValueText(dbRead, name, QStringLiteral("a")) == name, qPrintable(name));
        QVERIFY2(day.rows.size() == 1 && day.rows.constFirst().name == name && day.calories == "200",
                 qPrintable(name));
    }
    QVERIFY(taken > 100);
}

QTEST_APPLESS_MAIN(TestFoodLog)
#include "tst_foodlog.moc"
