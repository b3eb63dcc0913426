#include "foodeditor.h"

#include "calories/fooddatabase.h"
#include "store/codepage.h"
#include "store/kalimoerror.h"

#include <algorithm>

namespace {
const QString Keys[] = {QStringLiteral("c"), QStringLiteral("p"), QStringLiteral("l"), QStringLiteral("g")};

// The record as the deleted-foods file keeps it: "a", then "c", "p", "l", "g" as they stand.
bool keepRecord(ProfileDocument& deleted, const ProfileDocument& db, const QString& food) {
    bool changed = deleted.WriteString(food, QStringLiteral("a"), food);
    for (const QString& key : Keys)
        changed |= deleted.WriteString(food, key, FoodValueText(db, food, key));
    return changed;
}

[[noreturn]] void noChosenEntry() {
    throw KalimoError(Messages::ListIndexOutOfBounds(-1));
}
} // namespace

std::optional<QString> NameProblem(const QString& name, bool category) {
    const QString what =
        category ? QStringLiteral("Le nom de la catégorie") : QStringLiteral("Le nom de l'aliment");
    if (name.trimmed().isEmpty())
        return what + QStringLiteral(" est vide : veuillez le saisir.");
    if (name.front().isSpace() || name.back().isSpace())
        return what + QStringLiteral(" ne doit pas commencer ni finir par un espace.");
    if (name.contains(QLatin1Char(']')) || name.contains(QLatin1Char('=')))
        return what + QStringLiteral(" ne doit contenir ni « ] » ni « = ».");
    if (name.startsWith(QLatin1Char(';')) || name.startsWith(QLatin1Char('[')))
        return what + QStringLiteral(" ne doit pas commencer par « ; » ni par « [ ».");
    // A line break would end the line in the file, and the rest would read as another name.
    if (std::any_of(name.cbegin(), name.cend(), [](QChar c) { return c.category() == QChar::Other_Control; }))
        return what + QStringLiteral(" ne doit contenir ni retour à la ligne, ni tabulation, ni autre "
                                     "caractère de contrôle.");
    // The file gives a value back without one pair of enclosing quotes.
    if (name.size() >= 2 && (name.front() == QLatin1Char('"') || name.front() == QLatin1Char('\'')) &&
        name.back() == name.front())
        return what + QStringLiteral(" ne doit pas être entouré de guillemets ni d'apostrophes.");
    if (!FitsWindows1252(name))
        return what + QStringLiteral(" contient un caractère que Kalimo ne peut pas enregistrer.");
    return std::nullopt;
}

std::optional<QString> NameClash(const ProfileDocument& db, const QString& name, bool category) {
    const auto same = [&name](const QString& other) { return name.compare(other, Qt::CaseInsensitive) == 0; };
    if (same(CategoriesSection))
        return QStringLiteral("« %1 » est le nom que Kalimo donne à la liste des catégories : veuillez en "
                              "choisir un autre.")
            .arg(name);
    const QStringList categories = CategoryNames(db);
    const bool isCategory = std::any_of(categories.cbegin(), categories.cend(), same);
    if (!category && isCategory)
        return QStringLiteral("« %1 » est déjà le nom d'une catégorie : un aliment ne peut pas porter le "
                              "même nom.")
            .arg(name);
    if (category && !isCategory && db.SectionExists(name))
        return QStringLiteral("« %1 » est déjà le nom d'un aliment : une catégorie ne peut pas porter le "
                              "même nom.")
            .arg(name);
    return std::nullopt;
}

std::optional<QString> NameRefusal(const ProfileDocument& db, const QString& name, bool category) {
    if (std::optional<QString> problem = NameProblem(name, category))
        return problem;
    return NameClash(db, name, category);
}

void SaveFood(ProfileFile& db, const QString& category, const QString& name, const QString& c,
              const QString& p, const QString& g, const QString& l) {
    db.Update([&](ProfileDocument& doc) {
        bool changed = doc.WriteString(category, name, QString());
        changed |= doc.WriteString(name, QStringLiteral("a"), name);
        changed |= doc.WriteString(name, QStringLiteral("c"), c);
        changed |= doc.WriteString(name, QStringLiteral("p"), p);
        changed |= doc.WriteString(name, QStringLiteral("g"), g);
        changed |= doc.WriteString(name, QStringLiteral("l"), l);
        return changed;
    });
}

void DeleteFood(ProfileFile& db, ProfileFile& deleted, const QString& category, const QString& name) {
    const ProfileDocument& database = db.Document();
    deleted.Update([&](ProfileDocument& doc) {
        bool changed = keepRecord(doc, database, name);
        if (!category.isEmpty())
            changed |= doc.WriteString(category, name, QString());
        return changed;
    });
    if (category.isEmpty())
        noChosenEntry(); // the record is kept; the rest needs the category
    db.Update([&](ProfileDocument& doc) {
        const bool erased = doc.EraseSection(name);
        return doc.DeleteKey(category, name) || erased;
    });
}

void AddCategory(ProfileFile& db, const QString& name) {
    db.Update([&](ProfileDocument& doc) { return doc.WriteString(CategoriesSection, name, QString()); });
}

void RenameCategory(ProfileFile& db, const QString& oldName, const QString& newName) {
    if (oldName.toCaseFolded() == newName.toCaseFolded())
        return;
    db.Update([&](ProfileDocument& doc) {
        doc.WriteString(CategoriesSection, newName, QString());
        const QStringList foods = CategoryFoods(doc, oldName);
        doc.EraseSection(oldName);
        doc.DeleteKey(CategoriesSection, oldName);
        for (const QString& food : foods)
            doc.WriteString(newName, food, QString());
        return true;
    });
}

void DeleteCategory(ProfileFile& db, ProfileFile& deleted, const QString& category,
                    const QString& chosenCategory) {
    const ProfileDocument& database = db.Document();
    const QStringList foods = CategoryFoods(database, category);
    if (!foods.isEmpty()) {
        deleted.Update([&](ProfileDocument& doc) {
            bool changed = false;
            for (const QString& food : foods) {
                changed |= keepRecord(doc, database, food);
                if (chosenCategory.isEmpty())
                    break;
                changed |= doc.WriteString(chosenCategory, food, QString());
            }
            return changed;
        });
        if (chosenCategory.isEmpty())
            noChosenEntry();
    }
    db.Update([&](ProfileDocument& doc) {
        for (const QString& food : foods)
            doc.EraseSection(food);
        doc.EraseSection(category);
        doc.DeleteKey(CategoriesSection, category);
        return true;
    });
}
