#pragma once

#include <QByteArray>
#include <QString>

#include <exception>

// The one kind of error the program raises. It carries the French message shown to the user;
// event handlers let it escape and the handler boundary reports it in the standard error box.
class KalimoError : public std::exception {
  public:
    explicit KalimoError(QString message) : m_message(std::move(message)), m_utf8(m_message.toUtf8()) {}

    const QString& message() const noexcept { return m_message; }
    const char* what() const noexcept override { return m_utf8.constData(); }

  private:
    QString m_message;
    QByteArray m_utf8;
};

// The messages the program shares between its parts.
namespace Messages {
inline QString CannotWrite(const QString& name) {
    return QStringLiteral("Impossible d'écrire dans %1").arg(name);
}
inline QString CannotCreate(const QString& name) {
    return QStringLiteral("Impossible de créer le fichier %1").arg(name);
}
inline QString CannotRead(const QString& name) {
    return QStringLiteral("Impossible de lire le fichier %1").arg(name);
}
inline QString NotAFloat(const QString& text) {
    return QStringLiteral("'%1' n'est pas une valeur en virgule flottante correcte").arg(text);
}
inline QString NotAnInteger(const QString& text) {
    return QStringLiteral("'%1' n'est pas une valeur entière correcte").arg(text);
}
inline QString ListIndexOutOfBounds(int index) {
    return QStringLiteral("Indice de liste hors limites (%1)").arg(index);
}
} // namespace Messages
