#pragma once

#include <QString>

// Who wrote Kalimo and where to reach him: the about window and the help's "Informations" topic.
inline const QString AuthorName = QStringLiteral("Bastien Lorival");
inline const QString AuthorMail = QStringLiteral("auteur@kalimo.example.org");
inline const QString AuthorWebAddress = QStringLiteral("www.kalimo.example.org");
