// Any bytes read as a data file: parsing never fails, and what is written back reads the same.
#include "store/profiledocument.h"

#include <QByteArray>

#include <cstdint>
#include <cstdlib>

namespace {
void check(bool ok) {
    if (!ok)
        std::abort();
}

// Everything a reader can see: sections, their keys and values.
QStringList view(const ProfileDocument& doc) {
    QStringList out;
    for (const QString& section : doc.Sections()) {
        out << QLatin1Char('[') + section + QLatin1Char(']');
        for (const QString& key : doc.Keys(section))
            out << key + QLatin1Char('=') + doc.ReadString(section, key, QStringLiteral("<missing>"));
    }
    return out;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const ProfileDocument doc = ProfileDocument::Parse(bytes);
    const QByteArray written = doc.Serialize();
    const ProfileDocument again = ProfileDocument::Parse(written);
    check(view(again) == view(doc));
    // Once written with CR LF, the text no longer changes.
    check(again.Serialize() == written);
    return 0;
}
