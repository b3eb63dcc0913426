#include "accountsstore.h"

#include "store/codepage.h"

bool AccountsStore::IsForbiddenName(const QString& account) {
    static const QStringList reserved = {QStringLiteral("compte"), QStringLiteral("calories"),
                                         QStringLiteral("calsuppr")};
    for (const QString& name : reserved)
        if (account.compare(name, Qt::CaseInsensitive) == 0)
            return true;
    if (account.isEmpty())
        return false;
    if (account.size() > 247 || !FitsWindows1252(account))
        return true;
    if (account.front().isSpace() || account.back().isSpace())
        return true;
    for (const QChar c : account) {
        if (c == QLatin1Char('/') || c == QLatin1Char('\\') || c == QLatin1Char(']') ||
            c.category() == QChar::Other_Control)
            return true;
    }
    return false;
}
