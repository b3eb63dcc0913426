#pragma once

// A fixed series of data operations, the same for a given seed: saving months of weights,
// importing weights from CSV, adding and removing food-log entries, editing the food database,
// scrambling and restoring the account files. The crash test runs it in a process it kills, and
// replays it to know what each file must hold.

#include "accounts/accountfiles.h"
#include "calories/foodeditor.h"
#include "calories/foodlog.h"
#include "store/profilefile.h"
#include "store/scramble.h"
#include "summary/journalcsv.h"
#include "weight/weightrecords.h"

#include <QString>
#include <QStringList>

#include <random>

class CrashScript {
  public:
    explicit CrashScript(quint32 seed) : m_random(seed) {}

    // Runs operation number n (counting from 0); operations must run in order.
    void Run() {
        const int kind = pick(8);
        if (m_scrambled) {
            // Everything else needs the plain files.
            UnscrambleAccountsFile();
            UnscrambleAccountFiles(Account);
            m_scrambled = false;
            return;
        }
        switch (kind) {
        case 0: {
            const int month = 1 + pick(12);
            const int year = 2002 + pick(3);
            QStringList weights;
            for (int d = 1; d <= DaysInMonth(month, year); ++d)
                weights << (pick(3) == 0 ? QStringLiteral("0")
                                         : QStringLiteral("%1,%2").arg(60 + pick(30)).arg(pick(10)));
            WriteMonthWeights(m_weights, month, year, weights);
            break;
        }
        case 1:
            AddFoodToDay(m_foodLog, day(), food(), QString::number(pick(400) - 100));
            break;
        case 2:
            RemoveFoodFromDay(m_foodLog, day(), food());
            break;
        case 3:
            SaveFood(m_database, category(), food(), QString::number(pick(900)), QString::number(pick(40)),
                     QString::number(pick(80)), QStringLiteral("%1,%2").arg(pick(30)).arg(pick(10)));
            break;
        case 4:
            DeleteFood(m_database, m_deleted, category(), food());
            break;
        case 5:
            m_accounts.WriteInteger(Account, QStringLiteral("taille"), 150 + pick(50));
            break;
        case 6: {
            // Weights imported from a CSV file over two months, the days that differ replaced or kept.
            QByteArray csv = "date;poids\r\n";
            const int month = 1 + pick(11);
            for (int i = 0; i < 20; ++i)
                csv += QStringLiteral("%1/%2/2003;%3,%4\r\n")
                           .arg(1 + pick(28))
                           .arg(month + pick(2))
                           .arg(60 + pick(30))
                           .arg(pick(10))
                           .toLatin1();
            ApplyWeightImport(m_weights, PlanWeightImport(csv, m_weights.Document()), pick(2) == 0);
            break;
        }
        default:
            ScrambleAccountFiles(Account);
            ScrambleAccountsFile();
            m_scrambled = true;
            break;
        }
    }

    static inline const QString Account = QStringLiteral("Hélène");
    // The files the script touches, by their plain names.
    static QStringList DataFiles() {
        return {QStringLiteral("compte.ini"), Account + QStringLiteral(".ini"),
                Account + QStringLiteral(".cal"), QStringLiteral("calories.ini"),
                QStringLiteral("calsuppr.ini")};
    }
    static bool Scrambled(const QString& file) {
        return file != QLatin1String("calories.ini") && file != QLatin1String("calsuppr.ini");
    }

  private:
    int pick(int n) { return int(m_random() % quint32(n)); }
    QString day() { return DayKey(1 + pick(3), 3, 2004); }
    QString food() {
        static const QStringList foods = {"Abats",          "Agneau",       "Pizza",
                                          "Quiche (unité)", "Crème brûlée", "Pâtes"};
        return foods.at(pick(int(foods.size())));
    }
    QString category() {
        static const QStringList categories = {"viande", "plat", "dessert"};
        return categories.at(pick(int(categories.size())));
    }

    std::mt19937 m_random;
    bool m_scrambled = false;
    ProfileFile m_accounts{QStringLiteral(".\\compte.ini")};
    ProfileFile m_weights{WeightFileName(Account)};
    ProfileFile m_foodLog{FoodLogFileName(Account)};
    ProfileFile m_database{QStringLiteral("./calories.ini")};
    ProfileFile m_deleted{QStringLiteral("./calsuppr.ini")};
};
