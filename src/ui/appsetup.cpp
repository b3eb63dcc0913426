// ui/, the helpers under every window (they include none): the application's set-up before the first window.
#include "appsetup.h"

#include "ui/controls.h"
#include "ui/keyboardaccess.h"
#include "ui/pictures.h"

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
