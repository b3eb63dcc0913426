#include "profilefile.h"

#include "datafiles.h"
#include "kalimoerror.h"
#include "numbers.h"

#include <QFile>

#include <sys/stat.h>
#include <time.h>

std::optional<ProfileFile::Stamp> ProfileFile::stampOf(const QString& path) {
    struct stat st {};
    if (::stat(QFile::encodeName(path).constData(), &st) != 0 || !S_ISREG(st.st_mode))
        return std::nullopt;
    return Stamp{st.st_dev, st.st_ino, st.st_size,
                 static_cast<long long>(st.st_mtim.tv_sec) * 1000000000LL + st.st_mtim.tv_nsec};
}

namespace {
// File times advance in ticks of a few milliseconds: a file changed again within the tick in
// which it was read keeps its stamp. A file read that young is parsed again at the next read.
bool isRacy(const std::optional<ProfileFile::Stamp>& stamp) {
    if (!stamp)
        return false;
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    const long long nowNs = static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec;
    return nowNs - stamp->mtimeNs < 50'000'000LL;
}

quint64 nextGeneration() {
    static quint64 last = 0;
    return ++last;
}
} // namespace

ProfileDocument& ProfileFile::current() const {
    const QString path = ResolveDataPath(m_name);
    const std::optional<Stamp> stamp = stampOf(path);
    if (m_cache && !m_cache->racy && m_cache->path == path && m_cache->stamp == stamp)
        return m_cache->doc;

    QByteArray bytes;
    if (stamp) {
        QFile file(path);
        if (file.open(QIODevice::ReadOnly))
            bytes = file.readAll();
    }
    // Reads never fail: an unreadable file reads as an empty one, and is read again next time.
    const bool unreadable = bytes.isEmpty() && stamp && stamp->size > 0;
    // A file read again only because it was young, and found the same, keeps its generation.
    const bool same = m_cache && m_cache->path == path && !m_cache->bytes.isNull() && !unreadable &&
                      m_cache->bytes == bytes;
    const quint64 generation = same ? m_cache->generation : nextGeneration();
    m_cache = Snapshot{path,          unreadable ? std::nullopt : stamp, unreadable,
                       isRacy(stamp), ProfileDocument::Parse(bytes),     bytes,
                       generation};
    return m_cache->doc;
}

const ProfileDocument& ProfileFile::Document() const {
    return current();
}

quint64 ProfileFile::Generation() const {
    current();
    return m_cache->generation;
}

void ProfileFile::Update(const std::function<bool(ProfileDocument&)>& edit) {
    ProfileDocument& doc = current();
    // Never rebuild a file from the empty text an unreadable file gave: that would wipe it.
    if (m_cache->unreadable)
        throw KalimoError(Messages::CannotWrite(m_name));
    bool changed = false;
    try {
        changed = edit(doc);
    } catch (...) {
        m_cache.reset(); // the edit may have been half applied to the copy in memory
        throw;
    }
    if (!changed)
        return;
    const QString path = m_cache->path;
    if (!WriteFileAtomically(path, doc.Serialize())) {
        m_cache.reset();
        throw KalimoError(Messages::CannotWrite(m_name));
    }
    // The text in memory is what was just written: it can be trusted however young the file is.
    m_cache->stamp = stampOf(path);
    m_cache->racy = false;
    m_cache->bytes = QByteArray();
    m_cache->generation = nextGeneration();
}

QString ProfileFile::ReadString(const QString& section, const QString& key,
                                const QString& defaultValue) const {
    return current().ReadString(section, key, defaultValue);
}

void ProfileFile::WriteString(const QString& section, const QString& key, const QString& value) {
    Update([&](ProfileDocument& doc) { return doc.WriteString(section, key, value); });
}

int ProfileFile::ReadInteger(const QString& section, const QString& key, int defaultValue) const {
    const std::optional<QString> text = current().Value(section, key);
    if (!text)
        return defaultValue;
    return ParseProfileInteger(*text).value_or(defaultValue);
}

void ProfileFile::WriteInteger(const QString& section, const QString& key, int value) {
    WriteString(section, key, QString::number(value));
}

bool ProfileFile::ReadBool(const QString& section, const QString& key, bool defaultValue) const {
    return ReadInteger(section, key, defaultValue ? 1 : 0) != 0;
}

void ProfileFile::WriteBool(const QString& section, const QString& key, bool value) {
    WriteString(section, key, value ? QStringLiteral("1") : QStringLiteral("0"));
}

double ProfileFile::ReadFloat(const QString& section, const QString& key, double defaultValue) const {
    const std::optional<QString> text = current().Value(section, key);
    if (!text)
        return defaultValue;
    return ParseDecimal(*text).value_or(defaultValue);
}

QStringList ProfileFile::ReadSections() const {
    return current().Sections();
}

QStringList ProfileFile::ReadSection(const QString& section) const {
    return current().Keys(section);
}

bool ProfileFile::SectionExists(const QString& section) const {
    return current().SectionExists(section);
}

bool ProfileFile::ValueExists(const QString& section, const QString& key) const {
    return current().ValueExists(section, key);
}

void ProfileFile::EraseSection(const QString& section) {
    Update([&](ProfileDocument& doc) { return doc.EraseSection(section); });
}

void ProfileFile::DeleteKey(const QString& section, const QString& key) {
    try {
        Update([&](ProfileDocument& doc) { return doc.DeleteKey(section, key); });
    } catch (const KalimoError&) {
    }
}
