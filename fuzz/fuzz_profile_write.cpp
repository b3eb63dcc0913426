// Edits made from arbitrary bytes: what is written is read back as written, other sections and
// keys keep their values, and the file parses to the same thing after it is written.
#include "store/kalimoerror.h"
#include "store/profiledocument.h"

#include <QByteArray>
#include <QMap>

#include <cstdint>
#include <cstdlib>

namespace {
void check(bool ok) {
    if (!ok)
        std::abort();
}

class Input {
  public:
    Input(const uint8_t* data, size_t size) : m_data(data), m_size(size) {}
    bool empty() const { return m_pos >= m_size; }
    uint8_t byte() { return empty() ? 0 : m_data[m_pos++]; }
    // A short text from a small alphabet that makes clashes of names likely, accents and
    // letter case included.
    QString name() {
        static const QString alphabet = QStringLiteral("abAB éÉ0/;[]=\"' ");
        QString s;
        const int n = byte() % 5;
        for (int i = 0; i < n; ++i)
            s += alphabet.at(byte() % alphabet.size());
        return s;
    }

  private:
    const uint8_t* m_data;
    size_t m_size;
    size_t m_pos = 0;
};

// Names the program writes: never with a bracket or "=" that would change the line's meaning,
// never with blanks at the ends or a leading ";" or "[".
bool writable(const QString& name, bool key) {
    if (name.trimmed() != name || name.isEmpty())
        return false;
    if (name.contains(QLatin1Char(']')) || (key && name.contains(QLatin1Char('='))))
        return false;
    return !name.startsWith(QLatin1Char(';')) && !name.startsWith(QLatin1Char('['));
}

QString expectedRead(const QString& value) {
    const QString t = value.trimmed();
    if (t.size() >= 2 && (t.front() == QLatin1Char('"') || t.front() == QLatin1Char('\'')) &&
        t.back() == t.front())
        return t.mid(1, t.size() - 2);
    return t;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Input in(data, size);
    ProfileDocument doc;
    QMap<QPair<QString, QString>, QString> model; // case-folded section and key -> value written
    while (!in.empty()) {
        const int op = in.byte() % 4;
        const QString section = in.name();
        const QString key = in.name();
        if (!writable(section, false) || !writable(key, true))
            continue;
        const QPair<QString, QString> id{section.toCaseFolded(), key.toCaseFolded()};
        if (op <= 1) {
            const QString value = in.name();
            doc.WriteString(section, key, value);
            model[id] = value;
        } else if (op == 2) {
            doc.DeleteKey(section, key);
            model.remove(id);
        } else {
            doc.EraseSection(section);
            for (auto it = model.begin(); it != model.end();)
                it = it.key().first == id.first ? model.erase(it) : std::next(it);
        }
    }
    const ProfileDocument again = ProfileDocument::Parse(doc.Serialize());
    for (auto it = model.cbegin(); it != model.cend(); ++it) {
        check(doc.ReadString(it.key().first, it.key().second, QStringLiteral("<missing>")) ==
              expectedRead(it.value()));
        check(again.ReadString(it.key().first, it.key().second, QStringLiteral("<missing>")) ==
              expectedRead(it.value()));
    }
    return 0;
}
