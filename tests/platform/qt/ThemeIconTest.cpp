#include <gtest/gtest.h>

#include <QIcon>
#include <QImage>

#include "platform/qt/ThemeIcon.h"
#include "support/TempDir.h"

namespace nagitori {
namespace {

TEST(ThemeIcon, FirstNameTheThemeHasElseTheFile) {
    test::TempDir dir;
    std::filesystem::create_directories(dir / "nagitori-test" / "16x16" / "apps");
    test::WriteFileBytes(dir / "nagitori-test" / "index.theme",
                         "[Icon Theme]\nName=Test\nDirectories=16x16/apps\n\n[16x16/apps]\nSize=16\nType=Fixed\n");
    QImage image(16, 16, QImage::Format_ARGB32);
    image.fill(Qt::red);
    ASSERT_TRUE(
        image.save(QString::fromStdString((dir / "nagitori-test" / "16x16" / "apps" / "test-app.png").string())));
    ASSERT_TRUE(image.save(QString::fromStdString((dir / "picture.png").string())));
    const QStringList savedPaths = QIcon::themeSearchPaths();
    const QString savedTheme = QIcon::themeName();
    QIcon::setThemeSearchPaths({QString::fromStdString(dir.Path().string())});
    QIcon::setThemeName(QStringLiteral("nagitori-test"));

    EXPECT_FALSE(ThemeIcon({{"nagitori-missing", "test-app"}, {}}).isNull()) << "found by its second name";
    EXPECT_TRUE(ThemeIcon({{"nagitori-missing"}, {}}).isNull());
    EXPECT_FALSE(ThemeIcon({{}, dir / "picture.png"}).isNull());
    EXPECT_TRUE(ThemeIcon({{}, dir / "missing.png"}).isNull());
    EXPECT_TRUE(ThemeIcon({}).isNull());

    QIcon::setThemeName(savedTheme);
    QIcon::setThemeSearchPaths(savedPaths);
}

}  // namespace
}  // namespace nagitori
