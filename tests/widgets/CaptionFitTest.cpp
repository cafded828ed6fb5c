#include <gtest/gtest.h>

#include <QListWidget>
#include <QPixmap>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionButton>

#include "widgets/CaptionFit.h"

namespace nagitori::test {
namespace {

int StretchOf(const QFont& font) {
    return font.stretch() == QFont::AnyStretch ? 100 : font.stretch();
}

QFont WithStretch(QFont font, int stretch) {
    font.setStretch(stretch);
    return font;
}

// Captions from short to far too wide, Latin and Japanese, against buttons from narrow to wide.
const char* const kCaptions[] = {"メモ帳", "Windows標準アプリケーション", "リモート デスクトップ接続(&R)",
                                 "Microsoft Office Excel 2016 for Windows",
                                 "コンピューターの管理とイベント ビュアーとサービスと設定"};

// The caption keeps the application font where it fits beside the icon, else takes the widest stretch down to
// 80 % at which it fits, and 80 % where nothing fits.
TEST(CaptionFit, ButtonCaptionTakesTheWidestStretchThatFitsBesideItsIcon) {
    QPixmap picture(16, 16);
    picture.fill(Qt::darkGreen);
    for (const char* caption : kCaptions) {
        for (int width : {120, 160, 200, 230, 320}) {
            SCOPED_TRACE(std::string(caption) + " at " + std::to_string(width));
            QPushButton button(QString::fromUtf8(caption));
            button.resize(width, 33);
            button.setIconSize(QSize(16, 16));
            button.setIcon(QIcon(picture));
            FitCaptionBesideIcon(button);

            QStyleOptionButton option;
            option.initFrom(&button);
            const int room = button.style()->subElementRect(QStyle::SE_PushButtonContents, &option, &button).width();
            const auto fits = [&button, room](int stretch) {
                const QFont font = WithStretch(button.font(), stretch);
                return QFontMetrics(font).size(Qt::TextShowMnemonic, button.text()).width() + 16 + 4 <= room;
            };
            const int stretch = StretchOf(button.font());
            ASSERT_GE(stretch, 80);
            if (stretch == 100) {
                EXPECT_EQ(button.font().stretch(), QFont::AnyStretch);
                EXPECT_TRUE(fits(100));
            } else if (stretch > 80) {
                EXPECT_TRUE(fits(stretch));
                EXPECT_FALSE(fits(stretch + 1));
            } else {
                EXPECT_FALSE(fits(81));
            }
        }
    }
}

// Each entry takes the widest stretch that keeps it on one line; one step wider it would wrap.
TEST(CaptionFit, ListEntryTakesTheWidestStretchThatKeepsItOnOneLine) {
    for (int width : {120, 161, 200}) {
        SCOPED_TRACE(width);
        QListWidget list;
        list.resize(width, 385);
        list.setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        list.setWordWrap(true);
        list.addItem(QStringLiteral("オプション"));
        for (const char* caption : kCaptions) {
            list.addItem(QString::fromUtf8(caption));
        }
        FitEntriesOnOneLine(list);
        list.show();
        const int lineHeight = list.visualItemRect(list.item(0)).height();
        for (int row = 0; row < list.count(); ++row) {
            QListWidgetItem* item = list.item(row);
            SCOPED_TRACE(item->text().toStdString());
            const QFont font = item->data(Qt::FontRole).isValid() ? item->font() : list.font();
            const int stretch = StretchOf(font);
            ASSERT_GE(stretch, 80);
            if (stretch == 80) {
                continue;
            }
            EXPECT_EQ(list.visualItemRect(item).height(), lineHeight);
            if (stretch < 100) {
                item->setFont(WithStretch(font, stretch + 1));
                list.doItemsLayout();
                EXPECT_GT(list.visualItemRect(item).height(), lineHeight) << "fits at " << stretch + 1;
            }
        }
    }
}

}  // namespace
}  // namespace nagitori::test
