#include "codepage.h"

#include "kalimoerror.h"

#include <QStringDecoder>
#include <QStringEncoder>

namespace {
// Opening a converter costs far more than converting a short value: keep one of each.
QStringDecoder& decoder() {
    thread_local QStringDecoder d("windows-1252", QStringConverter::Flag::Stateless);
    return d;
}

QStringEncoder& encoder() {
    thread_local QStringEncoder e("windows-1252", QStringConverter::Flag::Stateless);
    return e;
}

// The encoder puts the substitute byte 0x1A for a character the code page cannot hold (its
// error flag does not reliably clear between calls, so the output itself is checked).
bool tryEncode(const QString& text, QByteArray& out) {
    out = encoder().encode(text);
    return !out.contains('\x1A') || text.contains(QChar(0x1A));
}
} // namespace

QString DecodeWindows1252(QByteArrayView bytes) {
    QStringDecoder& d = decoder();
    QString text = d.decode(bytes);
    d.resetState();
    return text;
}

QByteArray EncodeWindows1252(const QString& text) {
    QByteArray out;
    if (!tryEncode(text, out))
        throw KalimoError(
            QStringLiteral("Le texte « %1 » contient un caractère que Kalimo ne peut pas enregistrer")
                .arg(text));
    return out;
}

bool FitsWindows1252(const QString& text) {
    QByteArray out;
    return tryEncode(text, out);
}
