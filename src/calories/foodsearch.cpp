#include "foodsearch.h"

#include "calories/fooddatabase.h"

#include <QSet>

#include <algorithm>

namespace {
// Letters that no decomposition takes apart: the ligatures and the few letters whose stroke is
// not an accent. A French reader types "oe" for "œ" and "ae" for "æ".
bool appendSpeltOut(QString& out, QChar c) {
    switch (c.unicode()) {
    case 0x0152: // Œ
    case 0x0153: // œ
        out += QLatin1String("oe");
        return true;
    case 0x00C6: // Æ
    case 0x00E6: // æ
        out += QLatin1String("ae");
        return true;
    case 0x00DF: // ß
        out += QLatin1String("ss");
        return true;
    case 0x00D8: // Ø
    case 0x00F8: // ø
        out += QLatin1Char('o');
        return true;
    case 0x0110: // Đ
    case 0x0111: // đ
    case 0x00D0: // Ð
    case 0x00F0: // ð
        out += QLatin1Char('d');
        return true;
    case 0x0141: // Ł
    case 0x0142: // ł
        out += QLatin1Char('l');
        return true;
    case 0x00DE: // Þ
    case 0x00FE: // þ
        out += QLatin1String("th");
        return true;
    default:
        return false;
    }
}

bool isMark(QChar c) {
    const QChar::Category category = c.category();
    return category == QChar::Mark_NonSpacing || category == QChar::Mark_SpacingCombining ||
           category == QChar::Mark_Enclosing;
}

// How well a word typed matches a name: 0 when it begins the name, 1 when it begins a later
// word of it, 2 when it is only found inside a word; -1 when the name does not hold it.
int matchClass(const QString& folded, qsizetype firstLetter, const QString& word) {
    qsizetype at = folded.indexOf(word);
    if (at < 0)
        return -1;
    if (at == firstLetter)
        return 0;
    for (; at >= 0; at = folded.indexOf(word, at + 1))
        if (folded.at(at - 1) == QLatin1Char(' '))
            return 1;
    return 2;
}
} // namespace

QString FoldedForSearch(QStringView text) {
    // The compatibility decomposition also takes "ﬁ", "²" or a full-width letter apart.
    const QString decomposed = text.toString().normalized(QString::NormalizationForm_KD);
    QString out;
    out.reserve(decomposed.size());
    for (const QChar c : decomposed) {
        if (isMark(c))
            continue;
        if (!c.isLetterOrNumber())
            out += QLatin1Char(' ');
        else if (!appendSpeltOut(out, c))
            out += c.toCaseFolded();
    }
    return out;
}

QStringList SearchWords(QStringView typed) {
    QStringList words;
    for (const QString& word : FoldedForSearch(typed).split(QLatin1Char(' '), Qt::SkipEmptyParts))
        if (!words.contains(word))
            words << word;
    return words;
}

FoodCatalogue::FoodCatalogue(const ProfileDocument& db) {
    QSet<QString> categoriesSeen;
    for (const QString& category : CategoryNames(db)) {
        if (categoriesSeen.contains(category.toCaseFolded()))
            continue; // a category named twice in the list has one list of foods
        categoriesSeen.insert(category.toCaseFolded());
        QSet<QString> foodsSeen;
        for (const QString& food : CategoryFoods(db, category)) {
            const QString key = food.toCaseFolded();
            if (foodsSeen.contains(key))
                continue;
            foodsSeen.insert(key);
            Entry entry{{food, category}, FoldedForSearch(food)};
            while (entry.firstLetter < entry.folded.size() &&
                   entry.folded.at(entry.firstLetter) == QLatin1Char(' '))
                ++entry.firstLetter;
            if (!m_byName.contains(key))
                m_byName.insert(key, qsizetype(m_entries.size()));
            m_entries.push_back(std::move(entry));
        }
    }
    // The alphabetical order of the folded names is a French reader's order (accents and
    // letter case set aside) at a fraction of the cost of a collation, which matters for
    // databases of tens of thousands of foods.
    std::vector<qsizetype> order(m_entries.size());
    for (qsizetype i = 0; i < qsizetype(order.size()); ++i)
        order[i] = i;
    std::sort(order.begin(), order.end(), [this](qsizetype a, qsizetype b) {
        const Entry& x = m_entries[a];
        const Entry& y = m_entries[b];
        if (const int c = x.folded.compare(y.folded))
            return c < 0;
        if (const int c = CompareForDisplay(x.listed.food, y.listed.food))
            return c < 0;
        return CompareForDisplay(x.listed.category, y.listed.category) < 0;
    });
    for (qsizetype rank = 0; rank < qsizetype(order.size()); ++rank)
        m_entries[order[rank]].alphabetical = int(rank);
}

QList<FoodInCategory> FoodCatalogue::Search(QStringView typed) const {
    const QStringList words = SearchWords(typed);
    if (words.isEmpty())
        return {};
    struct Hit {
        int rank;
        int alphabetical;
        qsizetype entry;
    };
    std::vector<Hit> hits;
    for (qsizetype i = 0; i < qsizetype(m_entries.size()); ++i) {
        const Entry& entry = m_entries[i];
        int rank = 0;
        for (const QString& word : words) {
            const int c = matchClass(entry.folded, entry.firstLetter, word);
            if (c < 0) {
                rank = -1;
                break;
            }
            rank += c;
        }
        if (rank >= 0)
            hits.push_back({rank, entry.alphabetical, i});
    }
    std::sort(hits.begin(), hits.end(), [](const Hit& a, const Hit& b) {
        return a.rank != b.rank ? a.rank < b.rank : a.alphabetical < b.alphabetical;
    });
    QList<FoodInCategory> found;
    found.reserve(qsizetype(hits.size()));
    for (const Hit& hit : hits)
        found << m_entries[hit.entry].listed;
    return found;
}

QString FoodCatalogue::CategoryOf(const QString& food) const {
    const auto it = m_byName.constFind(food.toCaseFolded());
    return it == m_byName.cend() ? QString() : m_entries[*it].listed.category;
}

QString FoodCatalogue::ListedName(const QString& food) const {
    const auto it = m_byName.constFind(food.toCaseFolded());
    return it == m_byName.cend() ? QString() : m_entries[*it].listed.food;
}
