#include "app/SummonKey.h"

#include <gtest/gtest.h>
#include <xkbcommon/xkbcommon-keysyms.h>

#include <QWidget>
#include <deque>
#include <string>
#include <vector>

#include "common/Messages.h"
#include "support/FakeDesktop.h"

namespace nagitori::test {
namespace {

constexpr char kCommand[] = "/home/u/.local/lib/nagitori/nagitori";

// Records what is bound and answers from a queue (bound when it is empty).
class FakeBinding : public SummonKeyBinding {
public:
    explicit FakeBinding(std::vector<std::string>& calls, std::deque<SummonKeyStatus>& answers)
        : calls_(calls), answers_(answers) {}

    SummonKeyStatus Bind(const KeyChord& chord) override {
        calls_.push_back("Bind " + std::to_string(chord.modifiers) + " " + std::to_string(chord.keysym));
        if (answers_.empty()) {
            return SummonKeyStatus::kBound;
        }
        const SummonKeyStatus answer = answers_.front();
        answers_.pop_front();
        return answer;
    }
    void Unbind() override { calls_.push_back("Unbind"); }

private:
    std::vector<std::string>& calls_;
    std::deque<SummonKeyStatus>& answers_;
};

class SummonKeyTest : public ::testing::Test {
protected:
    SummonKey& Key() { return key; }
    std::vector<QString> Texts() const {
        std::vector<QString> texts;
        for (const FakeDesktop::Box& box : desktop.boxes) {
            EXPECT_EQ(box.flags, 48u);
            EXPECT_EQ(box.parent, &window);
            texts.push_back(box.text);
        }
        return texts;
    }

    FakeDesktop desktop;
    QWidget window;
    std::vector<std::string> calls;
    std::deque<SummonKeyStatus> answers;
    SummonKey key{desktop, window, std::make_unique<FakeBinding>(calls, answers), QString::fromUtf8(kCommand)};
};

const std::string kCtrlAltSpace =
    "Bind " + std::to_string(KeyChord::kControl | KeyChord::kAlt) + " " + std::to_string(XKB_KEY_space);

TEST_F(SummonKeyTest, BindsAChangedKeyOnceAndUnbindsAnEmptyOne) {
    // A start without a key removes what an earlier run may have left.
    Key().Apply(QString(), true);
    Key().Apply(QString());
    Key().Apply(QStringLiteral("Ctrl+Alt+Space"));
    Key().Apply(QStringLiteral("Ctrl+Alt+Space"));
    Key().Apply(QString());
    EXPECT_EQ(calls, (std::vector<std::string>{"Unbind", kCtrlAltSpace, "Unbind"}));
    EXPECT_TRUE(desktop.boxes.empty());
}

TEST_F(SummonKeyTest, ReportsWhatCouldNotBeBoundWithTheCommandToBindByHand) {
    struct Case {
        SummonKeyStatus status;
        const char* start;  // of the message
    };
    const Case cases[] = {
        {SummonKeyStatus::kTaken, "呼び出しキー「Ctrl+Alt+Space」は他のショートカットに使われているため"},
        {SummonKeyStatus::kFailed, "呼び出しキー「Ctrl+Alt+Space」を登録できませんでした。"},
        {SummonKeyStatus::kUnsupported, "このデスクトップには呼び出しキーを登録できません。"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.start);
        desktop.boxes.clear();
        calls.clear();
        Key().Apply(QString());
        answers.push_back(c.status);
        Key().Apply(QStringLiteral("Ctrl+Alt+Space"));
        ASSERT_EQ(Texts().size(), 1u);
        EXPECT_TRUE(Texts()[0].startsWith(QString::fromUtf8(c.start))) << Texts()[0].toStdString();
        EXPECT_TRUE(Texts()[0].endsWith(QStringLiteral("\n\n") + QString::fromUtf8(kCommand)));
    }
}

TEST_F(SummonKeyTest, TriesAFailedKeyAgainButNamesAnUnsupportedDesktopOnce) {
    answers = {SummonKeyStatus::kTaken, SummonKeyStatus::kBound};
    Key().Apply(QStringLiteral("Ctrl+Alt+Space"));
    Key().Apply(QStringLiteral("Ctrl+Alt+Space"));
    EXPECT_EQ(calls, (std::vector<std::string>{kCtrlAltSpace, kCtrlAltSpace}));
    EXPECT_EQ(desktop.boxes.size(), 1u);

    calls.clear();
    desktop.boxes.clear();
    answers = {SummonKeyStatus::kUnsupported, SummonKeyStatus::kUnsupported};
    Key().Apply(QStringLiteral("Meta+K"));
    Key().Apply(QStringLiteral("Meta+K"));
    EXPECT_EQ(calls.size(), 1u);
    EXPECT_EQ(desktop.boxes.size(), 1u);
}

TEST_F(SummonKeyTest, AtStartUpOnlyTroubleIsReported) {
    answers = {SummonKeyStatus::kUnsupported};
    Key().Apply(QStringLiteral("Ctrl+Alt+Space"), true);
    EXPECT_TRUE(desktop.boxes.empty());

    SummonKey later{desktop, window, std::make_unique<FakeBinding>(calls, answers), QString::fromUtf8(kCommand)};
    answers = {SummonKeyStatus::kTaken};
    later.Apply(QStringLiteral("Ctrl+Alt+Space"), true);
    EXPECT_EQ(desktop.boxes.size(), 1u);
}

TEST_F(SummonKeyTest, AKeyThatCannotServeIsNamedAndNothingStaysBound) {
    // Written by hand into the settings file: a key that types, and a sequence of two.
    for (const char* text : {"K", "Ctrl+A, Ctrl+B"}) {
        SCOPED_TRACE(text);
        calls.clear();
        desktop.boxes.clear();
        Key().Apply(QString::fromUtf8(text), true);
        EXPECT_EQ(calls, std::vector<std::string>{"Unbind"});
        const QString shown = QKeySequence::fromString(QString::fromUtf8(text), QKeySequence::PortableText)
                                  .toString(QKeySequence::NativeText);
        EXPECT_EQ(Texts(), std::vector<QString>{QString::fromUtf8(messages::kUnusableSummonKey).arg(shown)});
    }
}

}  // namespace
}  // namespace nagitori::test
