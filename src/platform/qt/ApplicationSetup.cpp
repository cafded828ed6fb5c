#include "platform/qt/ApplicationSetup.h"

#include <QApplication>
#include <QEvent>
#include <QFileInfo>
#include <QFont>
#include <QIcon>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>
#include <QWidget>

#include "common/Messages.h"

namespace nagitori {

namespace {

bool IconThemeInstalled(const QString& theme) {
    for (const QString& folder : QIcon::themeSearchPaths()) {
        if (QFileInfo::exists(folder + u'/' + theme + QStringLiteral("/index.theme"))) {
            return true;
        }
    }
    return false;
}

// A platform theme (qt6ct, KDE's, GTK's) sets its own font after the windows appear and again whenever its
// settings change; every fixed layout here is measured for ours, so ours comes straight back, before any
// window is laid out with the other. Setting it also drops the per-class fonts a theme hands out. The
// theme's colours and style stay.
class FontKeeper final : public QObject {
public:
    FontKeeper(QApplication& app, const QFont& font) : QObject(&app), font_(font) {
        setObjectName(QStringLiteral("FontKeeper"));
        app.installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::ApplicationFontChange) {
            return false;
        }
        // A new application font reaches the application first, while the theme's call is still under way; a
        // font for one class of widgets (QMenu, QLabel) only the widgets.
        const auto* widget = qobject_cast<const QWidget*>(watched);
        const QFont given = widget != nullptr ? QApplication::font(widget) : QApplication::font();
        if ((widget != nullptr || watched == parent()) && given != font_) {
            QApplication::setFont(font_);
        }
        return false;
    }

private:
    QFont font_;
};

void KeepFont(QApplication& app, const QFont& font) {
    delete app.findChild<QObject*>(QStringLiteral("FontKeeper"), Qt::FindDirectChildrenOnly);
    new FontKeeper(app, font);
}

}  // namespace

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
    KeepFont(app, font);

    // Without a desktop's own theme (a bare window manager), Qt knows only hicolor, which holds application icons
    // but none for documents or folders: take a complete theme that is installed.
    if (QIcon::themeName().isEmpty() || QIcon::themeName() == QStringLiteral("hicolor")) {
        for (const QString& theme : {QStringLiteral("Adwaita"), QStringLiteral("breeze"),
                                     QStringLiteral("elementary-xfce"), QStringLiteral("gnome")}) {
            if (IconThemeInstalled(theme)) {
                QIcon::setThemeName(theme);
                break;
            }
        }
    }
}

}  // namespace nagitori
