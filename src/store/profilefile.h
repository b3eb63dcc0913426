#pragma once

#include "profiledocument.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <optional>
#include <sys/types.h>

// Access to one INI-style data file, named exactly as the program passes it (".\compte.ini",
// "./calories.ini"). Every read sees the file as it is on disk now; every write replaces the
// whole file atomically before the call returns. A file whose identity, size and modification
// time have not changed since the last read is not parsed again.
class ProfileFile {
  public:
    explicit ProfileFile(QString name) : m_name(std::move(name)) {}

    const QString& FileName() const { return m_name; }

    QString ReadString(const QString& section, const QString& key, const QString& defaultValue) const;
    void WriteString(const QString& section, const QString& key, const QString& value);
    int ReadInteger(const QString& section, const QString& key, int defaultValue) const;
    void WriteInteger(const QString& section, const QString& key, int value);
    bool ReadBool(const QString& section, const QString& key, bool defaultValue) const;
    void WriteBool(const QString& section, const QString& key, bool value);
    double ReadFloat(const QString& section, const QString& key, double defaultValue) const;
    QStringList ReadSections() const;
    QStringList ReadSection(const QString& section) const;
    bool SectionExists(const QString& section) const;
    bool ValueExists(const QString& section, const QString& key) const;
    void EraseSection(const QString& section);
    // Reports nothing, whether it succeeded or not.
    void DeleteKey(const QString& section, const QString& key);

    // The file as it stands on disk now (empty when it does not exist).
    const ProfileDocument& Document() const;
    // A number that changes whenever the text Document() gives changes (read anew or written),
    // and that no other text of any file ever had: what a figure computed from the file can be
    // kept under.
    quint64 Generation() const;

    // Applies several edits as one replacement of the file. Nothing is written when the edits
    // change nothing; when writing fails the file stays as it was and "Impossible d'écrire
    // dans <name>" is raised.
    void Update(const std::function<bool(ProfileDocument&)>& edit);

    struct Stamp {
        dev_t device = 0;
        ino_t inode = 0;
        off_t size = 0;
        long long mtimeNs = 0;
        bool operator==(const Stamp&) const = default;
    };

  private:
    struct Snapshot {
        QString path;
        std::optional<Stamp> stamp; // nothing when the file did not exist or could not be read
        bool unreadable = false;
        bool racy = false; // changed too recently for its stamp to tell a later change apart
        ProfileDocument doc;
        QByteArray bytes; // what was parsed (shared with doc); empty once doc was edited
        quint64 generation = 0;
    };

    static std::optional<Stamp> stampOf(const QString& path);
    ProfileDocument& current() const;

    QString m_name;
    mutable std::optional<Snapshot> m_cache;
};

// A handle kept across operations on a file whose name can change (an account's files follow
// the account's name): the same handle while the name stays, so an unchanged file is not parsed
// again.
inline ProfileFile& HandleNamed(std::optional<ProfileFile>& handle, const QString& name) {
    if (!handle || handle->FileName() != name)
        handle.emplace(name);
    return *handle;
}
