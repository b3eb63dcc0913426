#include "accountsstore.h"

#include "store/codepage.h"
#include "store/kalimoerror.h"

#include <QFile>

#include <climits>

namespace {
// The longest file name made from an account name: the scrambled weight file "<name>.ini.cry"
// (temporary files get short names of their own, whatever the name of the file they replace).
constexpr qsizetype LongestSuffix = qsizetype(sizeof(".ini.cry") - 1);

bool isBlank(QChar c) {
    return c == QLatin1Char(' ') || c == QLatin1Char('\t');
}
} // namespace

QString AccountsStore::NameProblem(const QString& account) {
    if (account.isEmpty())
        return QStringLiteral("il est vide");
    // Their weight file would be the accounts file, the food database or the deleted foods
    // (file names are matched without regard to letter case).
    static const QStringList reserved = {QStringLiteral("compte"), QStringLiteral("calories"),
                                         QStringLiteral("calsuppr")};
    for (const QString& name : reserved)
        if (account.compare(name, Qt::CaseInsensitive) == 0)
            return QStringLiteral("il est réservé aux fichiers de Kalimo");
    if (!FitsWindows1252(account))
        return QStringLiteral("il contient un caractère que Kalimo ne peut pas enregistrer");
    for (const QChar c : account) {
        if (c.category() == QChar::Other_Control)
            return QStringLiteral("il contient un caractère de contrôle");
        // Separators would lead out of the data folder; brackets cannot be read back from a
        // section line.
        if (c == QLatin1Char('/') || c == QLatin1Char('\\') || c == QLatin1Char('[') || c == QLatin1Char(']'))
            return QStringLiteral("il contient une barre oblique ou un crochet");
    }
    if (account.front().isSpace() || account.back().isSpace())
        return QStringLiteral("il commence ou finit par un espace");
    // "." and ".." name folders; a leading dot would hide the account's files.
    if (account.front() == QLatin1Char('.'))
        return QStringLiteral("il commence par un point");
    if (QFile::encodeName(account).size() + LongestSuffix > NAME_MAX)
        return QStringLiteral("il est trop long");
    return QString();
}

void AccountsStore::CheckAccountName(const QString& account) {
    const QString problem = NameProblem(account);
    if (!problem.isEmpty())
        throw KalimoError(QStringLiteral("Ce nom de compte est INTERDIT : %1").arg(problem));
}

QString AccountsStore::PasswordProblem(const QString& password) {
    if (!password.isEmpty() && (isBlank(password.front()) || isBlank(password.back())))
        return QStringLiteral("Le mot de passe ne peut pas commencer ni finir par un espace.");
    if (password.size() >= 2) {
        const QChar first = password.front();
        if ((first == QLatin1Char('"') || first == QLatin1Char('\'')) && password.back() == first)
            return QStringLiteral("Le mot de passe ne peut pas être entouré de guillemets ni d'apostrophes.");
    }
    bool control = false;
    for (const QChar c : password)
        control = control || c.category() == QChar::Other_Control;
    if (control || !FitsWindows1252(password))
        return QStringLiteral("Le mot de passe contient un caractère que Kalimo ne peut pas enregistrer.");
    return QString();
}

void AccountsStore::SetPassword(const QString& account, const QString& password) {
    const QString problem = PasswordProblem(password);
    if (!problem.isEmpty())
        throw KalimoError(problem);
    m_file.WriteString(account, QStringLiteral("password"), password);
}
