#include "defaultfooddatabase.h"

#include "store/codepage.h"
#include "store/datafiles.h"
#include "store/kalimoerror.h"

#include <QFile>

QString DefaultFoodDatabaseText() {
    QFile file(QStringLiteral(":/data/calories.ini"));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readAll());
}

QByteArray DefaultFoodDatabaseBytes() {
    QString text = DefaultFoodDatabaseText();
    text.replace(QLatin1Char('\n'), QLatin1String("\r\n"));
    return EncodeWindows1252(text);
}

DefaultDatabaseOutcome CreateDefaultFoodDatabase() {
    const QString name = QStringLiteral("calories.ini");
    if (DataFileExists(name))
        return DefaultDatabaseOutcome::AlreadyPresent;
    if (!WriteFileAtomically(ResolveDataPath(name), DefaultFoodDatabaseBytes()))
        throw KalimoError(Messages::CannotCreate(name));
    return DefaultDatabaseOutcome::Created;
}
