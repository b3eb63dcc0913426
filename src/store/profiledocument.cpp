#include "profiledocument.h"

#include "codepage.h"

#include <cstring>

namespace {
QString fold(const QString& name) {
    // Most names ("v12", "password", "c") are already folded: keep sharing their text.
    for (const QChar c : name)
        if (c.unicode() >= 0x80 || (c >= QLatin1Char('A') && c <= QLatin1Char('Z')))
            return name.toCaseFolded();
    return name;
}

bool isBlank(QChar c) {
    return c == QLatin1Char(' ') || c == QLatin1Char('\t');
}

QStringView trimmed(QStringView s) {
    qsizetype b = 0;
    qsizetype e = s.size();
    while (b < e && isBlank(s[b]))
        ++b;
    while (e > b && isBlank(s[e - 1]))
        --e;
    return s.mid(b, e - b);
}

// A header line "[name]": returns the name, or nothing for any other line.
std::optional<QString> headerName(QStringView line) {
    const QStringView t = trimmed(line);
    if (!t.startsWith(QLatin1Char('[')))
        return std::nullopt;
    QStringView inner = t.mid(1);
    const qsizetype close = inner.indexOf(QLatin1Char(']'));
    if (close >= 0)
        inner = inner.left(close);
    return trimmed(inner).toString();
}

QString unquote(QStringView value) {
    const QStringView t = trimmed(value);
    if (t.size() >= 2) {
        const QChar first = t.front();
        if ((first == QLatin1Char('"') || first == QLatin1Char('\'')) && t.back() == first)
            return t.mid(1, t.size() - 2).toString();
    }
    return t.toString();
}
} // namespace

ProfileDocument ProfileDocument::Parse(const QByteArray& bytes) {
    ProfileDocument doc;
    // The lines nobody changes point into the file's bytes, which the document keeps.
    doc.m_source = bytes;
    const char* source = doc.m_source.constData();
    // One character per byte in this code page, so positions in the text are positions in the bytes.
    const QString text = DecodeWindows1252(bytes);
    const bool aligned = text.size() == bytes.size();
    QString decoded;

    std::vector<Line>* target = &doc.m_preamble;
    Span* span = &doc.m_preambleSpan;
    bool crlfOnly = true; // every line of the part being read so far ended by CR LF
    const qsizetype n = bytes.size();
    // A UTF-8 byte-order mark, as some text editors put at the start of a file, is no part of the
    // first line; it is kept for when the file is written again.
    doc.m_byteOrderMark = bytes.startsWith(ByteOrderMark);
    qsizetype start = doc.m_byteOrderMark ? qsizetype(qstrlen(ByteOrderMark)) : 0;
    span->begin = start;
    const auto closeSpan = [&](qsizetype at) {
        if (crlfOnly)
            span->end = at;
        else
            *span = Span();
    };
    while (start < n) {
        qsizetype end = start;
        while (end < n && bytes[end] != '\r' && bytes[end] != '\n')
            ++end;
        const QByteArray raw = QByteArray::fromRawData(source + start, end - start);
        if (!aligned)
            decoded = DecodeWindows1252(raw);
        const QStringView lineText =
            aligned ? QStringView(text).mid(start, end - start) : QStringView(decoded);

        if (auto name = headerName(lineText)) {
            closeSpan(start);
            doc.m_sections.push_back(Section{raw, *name, fold(*name), {}, Span{start, -1}});
            target = &doc.m_sections.back().lines;
            span = &doc.m_sections.back().span;
            crlfOnly = true;
        } else {
            Line line{raw, {}, {}, -1};
            const QStringView t = trimmed(lineText);
            const qsizetype eq = lineText.indexOf(QLatin1Char('='));
            if (eq > 0 && !t.startsWith(QLatin1Char(';'))) {
                const QStringView key = trimmed(lineText.left(eq));
                if (!key.isEmpty()) {
                    line.key = key.toString();
                    line.folded = fold(line.key);
                    line.eq = eq;
                }
            }
            target->push_back(std::move(line));
        }

        // CR LF, LF and CR all end a line.
        if (end < n && bytes[end] == '\r' && end + 1 < n && bytes[end + 1] == '\n') {
            end += 2;
        } else {
            crlfOnly = false;
            if (end < n)
                end += 1;
        }
        start = end;
    }
    closeSpan(n);
    doc.reindex();
    return doc;
}

QByteArray ProfileDocument::Serialize() const {
    const qsizetype mark = m_byteOrderMark ? qsizetype(qstrlen(ByteOrderMark)) : 0;
    const auto laidOutSize = [](const std::vector<Line>& lines) {
        qsizetype size = 0;
        for (const Line& l : lines)
            size += l.raw.size() + 2;
        return size;
    };
    qsizetype size = mark;
    size += m_preambleSpan.usable() ? m_preambleSpan.end - m_preambleSpan.begin : laidOutSize(m_preamble);
    for (const Section& s : m_sections)
        size += s.span.usable() ? s.span.end - s.span.begin : s.header.size() + 2 + laidOutSize(s.lines);
    // One allocation; the parts no edit touched are copied as they were read, in as few copies as
    // their places in the bytes read allow, and only the others are laid out line by line.
    QByteArray out(size, Qt::Uninitialized);
    char* p = out.data();
    std::memcpy(p, ByteOrderMark, size_t(mark));
    p += mark;
    const char* source = m_source.constData();
    Span pending; // bytes of the source still to copy
    const auto flush = [&] {
        if (pending.usable()) {
            std::memcpy(p, source + pending.begin, size_t(pending.end - pending.begin));
            p += pending.end - pending.begin;
            pending = Span();
        }
    };
    const auto copy = [&](const Span& span) {
        if (pending.usable() && pending.end == span.begin) {
            pending.end = span.end;
            return;
        }
        flush();
        pending = span;
    };
    const auto put = [&p](const QByteArray& raw) {
        std::memcpy(p, raw.constData(), size_t(raw.size()));
        p += raw.size();
        *p++ = '\r';
        *p++ = '\n';
    };
    if (m_preambleSpan.usable()) {
        copy(m_preambleSpan);
    } else {
        flush();
        for (const Line& l : m_preamble)
            put(l.raw);
    }
    for (const Section& s : m_sections) {
        if (s.span.usable()) {
            copy(s.span);
            continue;
        }
        flush();
        put(s.header);
        for (const Line& l : s.lines)
            put(l.raw);
    }
    flush();
    return out;
}

void ProfileDocument::reindex() {
    // insert() keeps the last value given: walk backwards so that the first section of a name wins.
    m_index.clear();
    for (qsizetype i = qsizetype(m_sections.size()) - 1; i >= 0; --i)
        m_index.insert(m_sections[i].folded, i);
    for (qsizetype i = 0; i < qsizetype(m_sections.size()); ++i)
        m_sections[i].first = m_index.value(m_sections[i].folded) == i;
}

const ProfileDocument::Section* ProfileDocument::findSection(const QString& section) const {
    const auto it = m_index.constFind(fold(section));
    return it == m_index.constEnd() ? nullptr : &m_sections[*it];
}

ProfileDocument::Section* ProfileDocument::findSection(const QString& section) {
    const auto it = m_index.constFind(fold(section));
    return it == m_index.constEnd() ? nullptr : &m_sections[*it];
}

const ProfileDocument::Line* ProfileDocument::findKey(const Section& section, const QString& folded) {
    for (const Line& l : section.lines)
        if (l.eq >= 0 && l.folded == folded)
            return &l;
    return nullptr;
}

std::optional<QString> ProfileDocument::Value(const QString& section, const QString& key) const {
    const Section* s = findSection(section);
    if (!s)
        return std::nullopt;
    const Line* l = findKey(*s, fold(key));
    if (!l)
        return std::nullopt;
    return unquote(DecodeWindows1252(QByteArrayView(l->raw).sliced(l->eq + 1)));
}

QString ProfileDocument::ReadString(const QString& section, const QString& key,
                                    const QString& defaultValue) const {
    return Value(section, key).value_or(defaultValue);
}

QStringList ProfileDocument::Sections() const {
    QStringList names;
    names.reserve(m_index.size());
    for (qsizetype i = 0; i < qsizetype(m_sections.size()); ++i)
        if (m_index.value(m_sections[i].folded) == i)
            names << m_sections[i].name;
    return names;
}

QStringList ProfileDocument::Keys(const QString& section) const {
    QStringList keys;
    if (const Section* s = findSection(section))
        for (const Line& l : s->lines)
            if (l.eq >= 0)
                keys << l.key;
    return keys;
}

void ProfileDocument::ForEachValue(
    const QString& section, const std::function<void(const QString& key, QByteArrayView raw)>& visit) const {
    if (const Section* s = findSection(section))
        for (const Line& l : s->lines)
            if (l.eq >= 0)
                visit(l.key, QByteArrayView(l.raw).sliced(l.eq + 1));
}

void ProfileDocument::ForEachSectionValue(
    const std::function<void(const QString& section, const QString& key, QByteArrayView raw)>& visit) const {
    for (qsizetype i = 0; i < qsizetype(m_sections.size()); ++i) {
        const Section& s = m_sections[size_t(i)];
        if (!s.first)
            continue;
        for (const Line& l : s.lines)
            if (l.eq >= 0)
                visit(s.name, l.key, QByteArrayView(l.raw).sliced(l.eq + 1));
    }
}

QString ProfileDocument::ValueText(QByteArrayView raw) {
    return unquote(DecodeWindows1252(raw));
}

bool ProfileDocument::SectionExists(const QString& section) const {
    const Section* s = findSection(section);
    if (!s)
        return false;
    for (const Line& l : s->lines)
        if (l.eq >= 0)
            return true;
    return false;
}

bool ProfileDocument::ValueExists(const QString& section, const QString& key) const {
    const Section* s = findSection(section);
    return s && findKey(*s, fold(key));
}

bool ProfileDocument::WriteString(const QString& section, const QString& key, const QString& value) {
    const QByteArray keyBytes = EncodeWindows1252(key);
    const QByteArray raw = keyBytes + '=' + EncodeWindows1252(value);
    Section* s = findSection(section);
    if (!s) {
        const QByteArray header = '[' + EncodeWindows1252(section) + ']';
        m_sections.push_back(Section{header, section, fold(section), {}, Span()});
        m_index.insert(m_sections.back().folded, qsizetype(m_sections.size()) - 1);
        s = &m_sections.back();
    }
    const QString folded = fold(key);
    qsizetype lastKey = -1;
    for (qsizetype i = 0; i < qsizetype(s->lines.size()); ++i) {
        Line& l = s->lines[i];
        if (l.eq < 0)
            continue;
        if (l.folded == folded) {
            // Keep the key as it is spelled in the file; only the value changes.
            const QByteArray replaced = l.raw.left(l.eq + 1) + EncodeWindows1252(value);
            if (replaced == l.raw)
                return false;
            l.raw = replaced;
            s->span = Span();
            return true;
        }
        lastKey = i;
    }
    // A new key goes after the last key of its section, ahead of any blank lines or comments
    // that close it.
    s->lines.insert(s->lines.begin() + (lastKey + 1), Line{raw, key, folded, keyBytes.size()});
    s->span = Span();
    return true;
}

bool ProfileDocument::EraseSection(const QString& section) {
    const auto it = m_index.constFind(fold(section));
    if (it == m_index.constEnd())
        return false;
    m_sections.erase(m_sections.begin() + *it);
    reindex();
    return true;
}

bool ProfileDocument::DeleteKey(const QString& section, const QString& key) {
    Section* s = findSection(section);
    if (!s)
        return false;
    const QString folded = fold(key);
    for (auto it = s->lines.begin(); it != s->lines.end(); ++it) {
        if (it->eq >= 0 && it->folded == folded) {
            s->lines.erase(it);
            s->span = Span();
            return true;
        }
    }
    return false;
}

qsizetype ProfileDocument::LineCount() const {
    qsizetype n = qsizetype(m_preamble.size());
    for (const Section& s : m_sections)
        n += 1 + qsizetype(s.lines.size());
    return n;
}
