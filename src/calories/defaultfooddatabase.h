#pragma once

#include <QByteArray>
#include <QString>

// The food database the program writes on its first start: 16 categories and 991 foods.
QString DefaultFoodDatabaseText();
// The same text as the file holds it: Windows-1252, every line ended by CR LF.
QByteArray DefaultFoodDatabaseBytes();

enum class DefaultDatabaseOutcome { AlreadyPresent, Created };

// Writes the default database to "calories.ini" unless a file of that name exists (even an empty
// one, which is then used as it is). The file is written whole or not at all, so an interrupted
// first start never leaves half a database behind. Raises "Impossible de créer le fichier
// calories.ini" when it cannot be written.
DefaultDatabaseOutcome CreateDefaultFoodDatabase();
