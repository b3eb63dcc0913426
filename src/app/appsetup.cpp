#include "appsetup.h"

#include "app/controls.h"
#include "app/keyboardaccess.h"
#include "app/pictures.h"

#include <QApplication>
#include <QFont>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

void SetUpApplication(QApplication& app) {
    QApplication::setApplicationName(QStringLiteral("Kalimo"));
    QApplication::setWindowIcon(ProgramIcon());
    QLocale::setDefault(QLocale(QLocale::French, QLocale::France));

    auto* translator = new QTranslator(&app);
    if (translator->load(QLocale(QLocale::French), QStringLiteral("qtbase"), QStringLiteral("_"),
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(translator);

    QFont::insertSubstitution(QString::fromLatin1(ComicFont), QStringLiteral("Comic Neue"));
    RestoreFocusAfterDisabling(app);
    PressFocusedButtonOnReturn(app);
}
