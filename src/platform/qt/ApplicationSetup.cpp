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

    // One family for Latin and Japanese: with a Latin font and a Japanese fallback of other metrics,
    // captions come out wider than planned and are cut. Without it the style hint picks the desktop's sans.
    QFont font(QStringLiteral("Noto Sans CJK JP"));
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(11);
    QApplication::setFont(font);
}

}  // namespace nagitori
