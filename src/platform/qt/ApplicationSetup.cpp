#include "platform/qt/ApplicationSetup.h"

#include <QApplication>
#include <QFont>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include "common/Messages.h"

namespace nagitori {

void SetUpApplication(QApplication& app) {
    // The display name is left unset: Qt would append it to every window's caption on Linux.
    QApplication::setApplicationName(QString::fromUtf8(messages::kApplicationTitle));

    QLocale::setDefault(QLocale(QLocale::Japanese, QLocale::Japan));
    auto* translator = new QTranslator(&app);
    if (translator->load(QStringLiteral("qtbase_ja"), QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        QApplication::installTranslator(translator);
    } else {
        // Without the translation Qt's texts stay English; the program itself still speaks Japanese.
        delete translator;
    }

    // Tahoma rarely exists outside Windows; the style hint lets fontconfig pick a sans that has kana.
    QFont font(QStringLiteral("Tahoma"));
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(11);
    QApplication::setFont(font);
}

}  // namespace nagitori
