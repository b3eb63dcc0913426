#include "calories/defaultfooddatabase.h"
#include "calories/fooddatabase.h"
#include "calories/foodeditor.h"
#include "calories/foodlog.h"
#include "calories/foodsearch.h"
#include "calories/recentfoods.h"
#include "store/codepage.h"
#include "store/kalimoerror.h"
#include "testsupport/filesizelimit.h"
#include "testsupport/randomtexts.h"
#include "testsupport/tempdir.h"

#include <QtTest>

namespace {
const QString Day = QStringLiteral("5/3/2004");

// A small database: "Pain" listed by two categories, a ligature, accents, names that begin with
// a word typed and names that only hold it.
ProfileDocument searchDatabase() {
    const QString text = QStringLiteral("[catégories]\npain=\nœufs=\ndivers=\n"
                                        "[pain]\nPain=\nPain complet=\nGros pain de campagne=\n"
                                        "Épinards à la crème=\n"
                                        "[œufs]\nŒuf dur=\nBlanc d'œuf=\nBœuf mode=\nŒuf=\n"
                                        "[divers]\nPain=\nCafé au lait=\nLait=\nLaitue=\nCæsar salad=\n");
    return ProfileDocument::Parse(
        EncodeWindows1252(QString(text).replace(QLatin1Char('\n'), QStringLiteral("\r\n"))));
}

QStringList shown(const QList<FoodInCategory>& foods) {
    QStringList texts;
    for (const FoodInCategory& f : foods)
        texts << f.food + QStringLiteral(" (") + f.category + QLatin1Char(')');
    return texts;
}

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
    void namesSharingASection_data();
    void namesSharingASection();
    void searchingEveryFood_data();
    void searchingEveryFood();
    void catalogueFollowsTheDatabase();
    void recentFoods();
    void dayBefore_data();
    void dayBefore();
    void severalFoodsAddedAsOne();
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

void TestFoodLog::namesSharingASection_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("category");
    QTest::addColumn<bool>("refused");
    QTest::newRow("food named like a category") << QStringLiteral("VIANDE") << false << true;
    QTest::newRow("food named like the list") << QStringLiteral("Catégories") << false << true;
    QTest::newRow("category named like the list") << QStringLiteral("catégories") << true << true;
    QTest::newRow("category named like a food") << QStringLiteral("abats") << true << true;
    QTest::newRow("a food again") << QStringLiteral("Abats") << false << false;
    QTest::newRow("a category again") << QStringLiteral("Viande") << true << false;
    QTest::newRow("a new category") << QStringLiteral("Soupes") << true << false;
}

// A name that would share a section with an entry of another kind is refused before it reaches
// the file, where the lists and records would read back as one another.
void TestFoodLog::namesSharingASection() {
    QFETCH(QString, name);
    QFETCH(bool, category);
    QFETCH(bool, refused);
    const ProfileDocument db = ProfileDocument::Parse(DefaultFoodDatabaseBytes());
    QCOMPARE(NameRefusal(db, name, category).has_value(), refused);
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

void TestFoodLog::searchingEveryFood_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QStringList>("found");
    // A word beginning the name first, then one beginning a later word, then one inside a word;
    // alphabetical within each.
    QTest::newRow("one word") << QStringLiteral("pain")
                              << QStringList{"Pain (divers)", "Pain (pain)", "Pain complet (pain)",
                                             "Gros pain de campagne (pain)"};
    QTest::newRow("case, blanks, punctuation")
        << QStringLiteral("  PAIN,  complet! ") << QStringList{"Pain complet (pain)"};
    QTest::newRow("ligature typed apart")
        << QStringLiteral("oeuf")
        << QStringList{"Œuf (œufs)", "Œuf dur (œufs)", "Blanc d'œuf (œufs)", "Bœuf mode (œufs)"};
    QTest::newRow("ligature typed") << QStringLiteral("Œuf d")
                                    << QStringList{"Œuf dur (œufs)", "Blanc d'œuf (œufs)",
                                                   "Bœuf mode (œufs)"};
    QTest::newRow("ae ligature") << QStringLiteral("caesar") << QStringList{"Cæsar salad (divers)"};
    QTest::newRow("accents not typed") << QStringLiteral("cafe lait") << QStringList{"Café au lait (divers)"};
    QTest::newRow("accents typed elsewhere")
        << QStringLiteral("épinàrd crème") << QStringList{"Épinards à la crème (pain)"};
    QTest::newRow("words in any order")
        << QStringLiteral("lait cafe") << QStringList{"Café au lait (divers)"};
    QTest::newRow("begins before inside")
        << QStringLiteral("lait") << QStringList{"Lait (divers)", "Laitue (divers)", "Café au lait (divers)"};
    QTest::newRow("every word needed") << QStringLiteral("pain lait") << QStringList{};
    QTest::newRow("blanks only") << QStringLiteral("   \t ") << QStringList{};
    QTest::newRow("punctuation only") << QStringLiteral("?!;.,'()-") << QStringList{};
    QTest::newRow("outside Windows-1252") << QStringLiteral("日本 \U0001F35E") << QStringList{};
    QTest::newRow("1000 characters") << QString(1000, QLatin1Char('a')) << QStringList{};
    QTest::newRow("1000 characters in words")
        << QStringLiteral("pain ").repeated(200)
        << QStringList{"Pain (divers)", "Pain (pain)", "Pain complet (pain)", "Gros pain de campagne (pain)"};
}

void TestFoodLog::searchingEveryFood() {
    QFETCH(QString, typed);
    QFETCH(QStringList, found);
    QCOMPARE(shown(FoodCatalogue(searchDatabase()).Search(typed)), found);
}

// A food renamed or deleted in the editor is gone from the search as soon as the catalogue is
// built again; a category renamed shows its new name.
void TestFoodLog::catalogueFollowsTheDatabase() {
    WorkingDir dir;
    CreateDefaultFoodDatabase();
    ProfileFile db(QStringLiteral("./calories.ini"));
    ProfileFile deleted(QStringLiteral("./calsuppr.ini"));
    QCOMPARE(FoodCatalogue(db.Document()).Size(), 991);
    QCOMPARE(FoodCatalogue(db.Document()).CategoryOf(QStringLiteral("ABATS")), QStringLiteral("viande"));
    QCOMPARE(FoodCatalogue(db.Document()).ListedName(QStringLiteral("ABATS")), QStringLiteral("Abats"));
    // Every food of the default database is found by part of its name typed without accents.
    const FoodCatalogue all(db.Document());
    for (const QString& category : CategoryNames(db.Document()))
        for (const QString& food : CategoryFoods(db.Document(), category)) {
            const QString typed = FoldedForSearch(food).simplified().left(12);
            QVERIFY2(all.Search(typed).contains(FoodInCategory{food, category}), qPrintable(food));
        }

    DeleteFood(db, deleted, QStringLiteral("viande"), QStringLiteral("Abats"));
    SaveFood(db, QStringLiteral("plat"), QStringLiteral("Pizza maison"), "250", "10", "30", "9");
    DeleteFood(db, deleted, QStringLiteral("plat"), QStringLiteral("Pizza"));
    RenameCategory(db, QStringLiteral("plat"), QStringLiteral("plats"));
    const FoodCatalogue after(db.Document());
    QCOMPARE(shown(after.Search(QStringLiteral("abats"))), QStringList{"Abats en sauce (viande)"});
    QCOMPARE(shown(after.Search(QStringLiteral("pizza"))), QStringList{"Pizza maison (plats)"});
    QCOMPARE(after.CategoryOf(QStringLiteral("Abats")), QString());
}

void TestFoodLog::recentFoods() {
    const FoodCatalogue foods(searchDatabase());
    // 5 March 2024 and the 29 days before it: back to 5 February (2024 is a leap year).
    const ProfileDocument log = ProfileDocument::Parse(EncodeWindows1252(
        QStringLiteral("[6/3/2024]\r\nBlanc d'œuf=1\r\n"                             // after the day
                       "[5/3/2024]\r\nPain=1\r\nLait=2\r\nInconnu=3\r\nLaitue=0\r\n" // unlisted, none eaten
                       "[4/3/2024]\r\nPain=2\r\npain=5\r\nCafé au lait=1\r\n"        // once a day
                       "[1/3/2024]\r\nLAIT=1\r\nLaitue=-2\r\n"
                       "[5/2/2024]\r\nŒuf=1\r\n"
                       "[4/2/2024]\r\nLaitue=9\r\n"))); // thirty days before
    const QDate day(2024, 3, 5);
    // Most days first, then the one eaten last, then alphabetical; each under its first category.
    QCOMPARE(shown(RecentFoods(log, foods, day)),
             (QStringList{"Lait (divers)", "Pain (pain)", "Café au lait (divers)", "Œuf (œufs)"}));
    QCOMPARE(shown(RecentFoods(log, foods, day, 30, 2)), (QStringList{"Lait (divers)", "Pain (pain)"}));
    QCOMPARE(shown(RecentFoods(log, foods, QDate(2024, 3, 6))).first(), QStringLiteral("Lait (divers)"));
    QVERIFY(RecentFoods(log, foods, QDate(2024, 6, 1)).isEmpty());
    QVERIFY(RecentFoods(log, foods, QDate()).isEmpty());
}

void TestFoodLog::dayBefore_data() {
    QTest::addColumn<QString>("day");
    QTest::addColumn<QDate>("before");
    QTest::addColumn<QStringList>("entries");
    QTest::newRow("first of a leap March")
        << "1/3/2024" << QDate(2024, 2, 29) << QStringList{"Pain=2", "Œuf=3"};
    QTest::newRow("first of March") << "1/3/2023" << QDate(2023, 2, 28) << QStringList{"Lait=4"};
    QTest::newRow("first of the year") << "1/1/2024" << QDate(2023, 12, 31) << QStringList{"Lait=1"};
    QTest::newRow("nothing logged") << "2/3/2024" << QDate(2024, 3, 1) << QStringList{};
    QTest::newRow("no such day") << "30/2/2024" << QDate() << QStringList{};
    QTest::newRow("not a day") << "+1/3/2024" << QDate() << QStringList{};
    QTest::newRow("two parts") << "3/2024" << QDate() << QStringList{};
}

void TestFoodLog::dayBefore() {
    QFETCH(QString, day);
    QFETCH(QDate, before);
    QFETCH(QStringList, entries);
    const ProfileDocument log = ProfileDocument::Parse(EncodeWindows1252(
        QStringLiteral("[29/2/2024]\r\npain=2\r\nInconnu=1\r\nLait=0\r\nCafé au lait=-1\r\n"
                       "Œuf=3\r\nPAIN=7\r\n[28/2/2023]\r\nLait=4\r\n[31/12/2023]\r\nLait=1\r\n")));
    const DayBeforeEntries found = EntriesOfDayBefore(log, FoodCatalogue(searchDatabase()), day);
    QCOMPARE(found.date, before);
    QStringList texts;
    for (const FoodQuantity& entry : found.entries)
        texts << entry.food + QLatin1Char('=') + entry.quantityText;
    // Under the name the database lists, foods not eaten left out, a food gone from it set aside.
    QCOMPARE(texts, entries);
    QCOMPARE(found.notInDatabase, before == QDate(2024, 2, 29) ? QStringList{"Inconnu"} : QStringList{});
}

void TestFoodLog::severalFoodsAddedAsOne() {
    WorkingDir dir;
    ProfileFile log(QStringLiteral(".\\Paul.cal"));
    AddFoodToDay(log, Day, QStringLiteral("Pain"), QStringLiteral("1"));
    AddFoodsToDay(
        log, Day,
        {{QStringLiteral("Œuf"), QStringLiteral("3")}, {QStringLiteral("pain"), QStringLiteral("2")}});
    const QByteArray added("[5/3/2004]\r\nPain=3\r\n\x8C"
                           "uf=3\r\n");
    QCOMPARE(ReadBytes(dir.file(QStringLiteral("Paul.cal"))), added);
    // One refused, none written: a total beyond the range, a quantity that is not a number.
    QVERIFY_THROWS_EXCEPTION(KalimoError,
                             AddFoodsToDay(log, Day,
                                           {{QStringLiteral("Lait"), QStringLiteral("1")},
                                            {QStringLiteral("Pain"), QStringLiteral("2147483647")}}));
    QVERIFY_THROWS_EXCEPTION(KalimoError, AddFoodsToDay(log, Day,
                                                        {{QStringLiteral("Lait"), QStringLiteral("1")},
                                                         {QStringLiteral("Pain"), QStringLiteral("1,5")}}));
    QCOMPARE(ReadBytes(dir.file(QStringLiteral("Paul.cal"))), added);
}

QTEST_APPLESS_MAIN(TestFoodLog)
#include "tst_foodlog.moc"
