#include <gtest/gtest.h>

#include <QIcon>
#include <QImage>

#include "platform/qt/ThemeIcon.h"
#include "support/TempDir.h"
#include "support/UnansweredFifo.h"

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

    const auto icon = [](const IconReference& reference) { return ThemeIcon(LoadIcon(reference)); };
    EXPECT_FALSE(icon({{"nagitori-missing", "test-app"}, {}}).isNull()) << "found by its second name";
    EXPECT_TRUE(icon({{"nagitori-missing"}, {}}).isNull());
    EXPECT_FALSE(icon({{}, dir / "picture.png"}).isNull());
    EXPECT_TRUE(icon({{}, dir / "missing.png"}).isNull());
    EXPECT_TRUE(icon({}).isNull());

    QIcon::setThemeName(savedTheme);
    QIcon::setThemeSearchPaths(savedPaths);
}

// The picture is read off the interface thread, so that what stands at the icon's path never holds up the
// window; but only a regular file of a sensible size, drawn small.
TEST(ThemeIcon, PictureOnlyFromARegularFileOfSensibleSize) {
    test::TempDir dir;
    const test::UnansweredFifo fifo(dir / "fifo.png");
    std::filesystem::create_directory(dir / "folder.png");
    QImage big(2000, 1000, QImage::Format_ARGB32);
    big.fill(Qt::blue);
    ASSERT_TRUE(big.save(QString::fromStdString((dir / "big.png").string())));
    // A picture that would read well, but for what follows it.
    QImage small(16, 16, QImage::Format_ARGB32);
    small.fill(Qt::green);
    ASSERT_TRUE(small.save(QString::fromStdString((dir / "huge.png").string())));
    test::WriteFileBytes(dir / "huge.png", test::ReadFileBytes(dir / "huge.png") + std::string(5 * 1024 * 1024, '\0'));
    ASSERT_FALSE(QImage(QString::fromStdString((dir / "huge.png").string())).isNull());

    EXPECT_TRUE(LoadIcon({{}, dir / "fifo.png"}).image.isNull());
    EXPECT_TRUE(LoadIcon({{}, dir / "folder.png"}).image.isNull());
    EXPECT_TRUE(LoadIcon({{}, dir / "huge.png"}).image.isNull());
    EXPECT_EQ(LoadIcon({{}, dir / "big.png"}).image.size(), QSize(64, 32));
    EXPECT_EQ(LoadIcon({{}, ":/nagitori.svg"}).image.size(), QSize(64, 64)) << "a scalable picture at its shown size";
    EXPECT_FALSE(fifo.ReaderWasStuck());
}

}  // namespace
}  // namespace nagitori
