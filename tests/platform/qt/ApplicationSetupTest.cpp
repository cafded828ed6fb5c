#include <gtest/gtest.h>

#include <QApplication>
#include <QFileInfo>
#include <QFontDatabase>
#include <QFontInfo>
#include <QIcon>
#include <QLabel>
#include <QLibraryInfo>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QRawFont>
#include <QTranslator>

#include "platform/qt/ApplicationSetup.h"
#include "support/TempDir.h"

namespace nagitori {
namespace {

// Setting up changes the whole application; put it back so that other tests see what they expect.
class ApplicationSetupTest : public testing::Test {
protected:
    void TearDown() override {
        for (QTranslator* translator : qApp->findChildren<QTranslator*>(Qt::FindDirectChildrenOnly)) {
            QApplication::removeTranslator(translator);
            delete translator;
        }
        QApplication::setFont(font_);
        QLocale::setDefault(locale_);
        QApplication::setApplicationName(name_);
        QIcon::setThemeSearchPaths(themePaths_);
        QIcon::setThemeName(theme_);
    }

private:
    QStringList themePaths_ = QIcon::themeSearchPaths();
    QString theme_ = QIcon::themeName();
    QFont font_ = QApplication::font();
    QLocale locale_;
    QString name_ = QApplication::applicationName();
};

TEST_F(ApplicationSetupTest, NamesTheApplicationAndSetsTheFont) {
    SetUpApplication(*qApp);
    EXPECT_EQ(QApplication::applicationName(), QStringLiteral("ナギトリ"));
    EXPECT_EQ(QApplication::applicationDisplayName(), QStringLiteral("ナギトリ"));
    EXPECT_EQ(QApplication::font().pixelSize(), 11);
    // The family asked for is the one drawn: Latin and Japanese come from one font.
    EXPECT_EQ(QFontInfo(QApplication::font()).family(), QStringLiteral("Noto Sans CJK JP"));
    const QRawFont drawn = QRawFont::fromFont(QApplication::font(), QFontDatabase::Japanese);
    EXPECT_TRUE(drawn.supportsCharacter(u'ナ'));
    EXPECT_TRUE(drawn.supportsCharacter(u'W'));
}

// What a platform theme does after the windows appear and whenever its settings change: the windows keep the
// program's font, and so do windows opened later.
TEST_F(ApplicationSetupTest, KeepsItsFontWhateverAPlatformThemeSetsAndWhenever) {
    SetUpApplication(*qApp);
    const QFont own = QApplication::font();
    QWidget window;
    auto* label = new QLabel(QStringLiteral("ランチャー"), &window);
    QMenu menu(&window);
    window.show();

    QFont themes(QStringLiteral("DejaVu Sans"));
    themes.setPointSize(12);
    const auto setters = {+[](const QFont& font) { QApplication::setFont(font); },
                          +[](const QFont& font) { QGuiApplication::setFont(font); },
                          +[](const QFont& font) { QApplication::setFont(font, "QLabel"); },
                          +[](const QFont& font) { QApplication::setFont(font, "QMenu"); }};
    for (const auto& set : setters) {
        set(themes);
        QCoreApplication::processEvents();
        EXPECT_EQ(QApplication::font(), own);
        for (const QWidget* widget : {static_cast<const QWidget*>(label), static_cast<const QWidget*>(&menu)}) {
            EXPECT_EQ(widget->font().family(), own.family()) << widget->metaObject()->className();
            EXPECT_EQ(widget->font().pixelSize(), 11) << widget->metaObject()->className();
        }
        QMessageBox later;
        EXPECT_EQ(later.font().pixelSize(), 11);
        EXPECT_EQ(QApplication::font("QLabel"), own);
        themes.setPointSize(themes.pointSize() + 1);
    }
}

TEST_F(ApplicationSetupTest, TakesAnInstalledIconThemeWhereTheDesktopNamesNone) {
    test::TempDir dir;
    std::filesystem::create_directories(dir / "breeze");
    test::WriteFileBytes(dir / "breeze" / "index.theme", "[Icon Theme]\nName=Breeze\nDirectories=\n");
    QIcon::setThemeSearchPaths({QString::fromStdString(dir.Path().string())});
    QIcon::setThemeName(QStringLiteral("hicolor"));
    SetUpApplication(*qApp);
    EXPECT_EQ(QIcon::themeName(), QStringLiteral("breeze"));

    // The desktop's own choice stays.
    QIcon::setThemeName(QStringLiteral("mine"));
    SetUpApplication(*qApp);
    EXPECT_EQ(QIcon::themeName(), QStringLiteral("mine"));
}

TEST_F(ApplicationSetupTest, StandardButtonsSpeakJapanese) {
    const QString translations = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    if (!QFileInfo::exists(translations + QStringLiteral("/qtbase_ja.qm"))) {
        GTEST_SKIP() << "qtbase_ja.qm is not installed (Debian package qt6-translations-l10n)";
    }
    SetUpApplication(*qApp);
    QMessageBox box;
    EXPECT_EQ(box.addButton(QMessageBox::Yes)->text(), QStringLiteral("はい(&Y)"));
    EXPECT_EQ(box.addButton(QMessageBox::No)->text(), QStringLiteral("いいえ(&N)"));
    EXPECT_EQ(box.addButton(QMessageBox::Cancel)->text(), QStringLiteral("キャンセル"));
}

}  // namespace
}  // namespace nagitori
