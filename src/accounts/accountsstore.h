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
    void SetPassword(const QString& account, const QString& password) {
        m_file.WriteString(account, QStringLiteral("password"), password);
    }
    void Erase(const QString& account) { m_file.EraseSection(account); }

    // Names that would damage data or leave the data folder: the names of the program's own
    // files, path separators, characters a section name cannot hold, blanks at either end, and
    // names too long for "<name>.ini.cry" to stay within 255 characters.
    static bool IsForbiddenName(const QString& account);

  private:
    ProfileFile m_file;
};
