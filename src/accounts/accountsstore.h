#pragma once

#include "store/profilefile.h"

#include <QString>
#include <QStringList>

// The accounts file "compte.ini": one section per account holding its password and its
// display settings.
class AccountsStore {
  public:
    static constexpr int DefaultLineColour = 234;            // red
    static constexpr int DefaultBackgroundColour = 14671839; // light grey 0xDFDFDF
    static constexpr int DefaultHeight = 100;
    // What login and deletion compare a missing password with.
    static inline const QString MissingPassword = QStringLiteral("40617395820473916");

    AccountsStore() : m_file(QStringLiteral(".\\compte.ini")) {}

    ProfileFile& File() { return m_file; }

    QStringList AccountNames() const { return m_file.ReadSections(); }
    // An account exists when its section holds at least one key.
    bool Exists(const QString& account) const { return m_file.SectionExists(account); }
    QString Password(const QString& account, const QString& defaultValue) const {
        return m_file.ReadString(account, QStringLiteral("password"), defaultValue);
    }
    // Raises the PasswordProblem, never naming the password, when it cannot be stored as typed.
    void SetPassword(const QString& account, const QString& password);
    void Erase(const QString& account) { m_file.EraseSection(account); }

    // An account name is the stem of the account's files, and the accounts file may have been
    // written by anyone: a name is used for a file only when it is a plain file name of the data
    // folder that names none of the program's own files. Returns why a name is refused, in
    // French ("il contient ..."), or an empty text when it is fit.
    static QString NameProblem(const QString& account);
    static bool IsForbiddenName(const QString& account) { return !NameProblem(account).isEmpty(); }
    // Raises "Ce nom de compte est INTERDIT : <why>" for a refused name. Called wherever a name
    // is about to become a file name.
    static void CheckAccountName(const QString& account);

    // The file gives a value back without blanks at its ends and without one pair of enclosing
    // quotes, and keeps only Windows-1252 text on one line: a password it would not give back
    // as typed would lock its owner out. Returns why, in French, without the password itself;
    // an empty text when the password is fit.
    static QString PasswordProblem(const QString& password);

  private:
    ProfileFile m_file;
};
