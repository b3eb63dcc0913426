#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>
#include <vector>

// The text of one INI-style data file held in memory. Lines the program does not touch keep
// their bytes and their order; section and key names are matched without regard to letter case.
class ProfileDocument {
  public:
    static ProfileDocument Parse(const QByteArray& bytes);
    // Windows-1252 text, every line ended by CR LF.
    QByteArray Serialize() const;

    std::optional<QString> Value(const QString& section, const QString& key) const;
    QString ReadString(const QString& section, const QString& key, const QString& defaultValue) const;
    QStringList Sections() const;
    QStringList Keys(const QString& section) const;
    bool SectionExists(const QString& section) const;
    bool ValueExists(const QString& section, const QString& key) const;
    // Every key line of a section in file order, repeated keys included, in one pass: the key
    // and the value's bytes as they stand after "=" (ValueText gives them as ReadString would).
    void ForEachValue(const QString& section,
                      const std::function<void(const QString& key, QByteArrayView raw)>& visit) const;
    static QString ValueText(QByteArrayView raw);
    // The key lines of every section, in one pass over the file: the sections as Sections() lists
    // them (the first of each name), each line as ForEachValue gives it, with the section's name.
    void ForEachSectionValue(const std::function<void(const QString& section, const QString& key,
                                                      QByteArrayView raw)>& visit) const;

    // Each edit returns whether the text changed. Text that Windows-1252 cannot hold raises a
    // KalimoError before anything changes.
    bool WriteString(const QString& section, const QString& key, const QString& value);
    bool EraseSection(const QString& section);
    bool DeleteKey(const QString& section, const QString& key);

    qsizetype LineCount() const;

  private:
    struct Line {
        QByteArray raw;    // the line's bytes, without its line end
        QString key;       // empty for lines that hold no key
        QString folded;    // key, case-folded
        qsizetype eq = -1; // position of the first "=" in raw, -1 for lines that hold no key
    };
    // Where a part of the file (the lines before the first section, or a section with its header)
    // stands in the bytes parsed, when they are exactly what laying it out would give (every line
    // ended by CR LF) and no edit has touched it since: it is then copied whole, so that a save
    // lays out only the month that changed.
    struct Span {
        qsizetype begin = -1;
        qsizetype end = -1;
        bool usable() const { return begin >= 0; }
    };
    struct Section {
        QByteArray header;
        QString name;
        QString folded;
        std::vector<Line> lines;
        Span span;
        bool first = true; // no earlier section has the same name
    };

    const Section* findSection(const QString& section) const;
    Section* findSection(const QString& section);
    static const Line* findKey(const Section& section, const QString& folded);
    void reindex();

    static constexpr char ByteOrderMark[] = "\xEF\xBB\xBF";
    bool m_byteOrderMark = false;
    QByteArray m_source;          // the bytes parsed, which untouched lines point into
    std::vector<Line> m_preamble; // lines before the first section
    Span m_preambleSpan;
    std::vector<Section> m_sections;
    QHash<QString, qsizetype> m_index; // folded name -> first section of that name
};
