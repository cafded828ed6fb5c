#include "system/VersionInformationDialog.h"

#include <QFocusEvent>
#include <QIcon>
#include <QKeyEvent>
#include <exception>

#include "common/Utf8Path.h"
#include "platform/LaunchRequest.h"
#include "widgets/DialogFrame.h"

namespace nagitori {

namespace {

constexpr int kClientWidth = 291;
constexpr int kClientHeight = 103;
constexpr int kIconSize = 48;
constexpr int kTextLeft = 73;

constexpr char kCaption[] = "バージョン情報";
constexpr char kVersion[] = "ナギトリ Version 13.1";
constexpr char kRightsNotice[] = "Copyright (C) 2026 ナギトリ開発チーム";
constexpr char kSiteText[] = "作者のサイトにアクセス";

// A label whose link takes the focus as soon as Tab reaches it, so that Enter opens the link at once instead of
// falling through to the default button.
class LinkLabel : public QLabel {
public:
    using QLabel::QLabel;

protected:
    void focusInEvent(QFocusEvent* event) override {
        QLabel::focusInEvent(event);
        if (event->reason() == Qt::TabFocusReason || event->reason() == Qt::BacktabFocusReason) {
            focusNextPrevChild(event->reason() == Qt::TabFocusReason);
        }
    }
};

template <typename Label = QLabel>
QLabel* MakeLabel(QWidget* parent, const char* name, const QString& text, int top) {
    auto* label = new Label(text, parent);
    label->setObjectName(QString::fromUtf8(name));
    label->move(kTextLeft, top);
    label->adjustSize();
    return label;
}

}  // namespace

// The dialog asks nothing of the desktop; it takes it like every window so that its opener stays uniform.
TVersionInformation::TVersionInformation(System& system, Desktop&, QWidget* owner) : QDialog(owner), system_(system) {
    setObjectName(QStringLiteral("VersionInformation"));
    setWindowTitle(QString::fromUtf8(kCaption));
    SetUpDialogFrame(*this, kClientWidth, kClientHeight);

    Panel1 = new QFrame(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setFrameStyle(QFrame::Box | QFrame::Plain);
    Panel1->setGeometry(8, 8, 57, 55);
    Image1 = new QLabel(Panel1);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setGeometry(Panel1->contentsRect());
    Image1->setAlignment(Qt::AlignCenter);
    Image1->setPixmap(QIcon(QStringLiteral(":/nagitori.svg")).pixmap(QSize(kIconSize, kIconSize), devicePixelRatio()));

    Label1 = MakeLabel(this, "Label1", QString::fromUtf8(kVersion), 10);
    Label2 = MakeLabel(this, "Label2", QString::fromUtf8(kRightsNotice), 28);
    // The blanks around the link are part of the text; "pre" keeps rich text from dropping them.
    // The project's pages travel with the program: the link opens the help beside the executable.
    const QString helpFile = QString::fromStdString(Utf8FromPath(system.ExecutablePath().parent_path() / "readme.txt"));
    const QString siteText = QStringLiteral("<span style=\"white-space:pre\"> <a href=\"%1\">%2</a> </span>")
                                 .arg(helpFile.toHtmlEscaped(), QString::fromUtf8(kSiteText));
    site = MakeLabel<LinkLabel>(this, "site", siteText, 46);
    site->setTextFormat(Qt::RichText);
    site->setTextInteractionFlags(Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard);
    site->adjustSize();

    OK = new QPushButton(QStringLiteral("OK"), this);
    OK->setObjectName(QStringLiteral("OK"));
    OK->setGeometry(8, 70, 275, 25);
    OK->setDefault(true);
    setTabOrder(site, OK);
    // Enter presses OK from the start; the link is reached with Tab.
    OK->setFocus();

    connect(site, &QLabel::linkActivated, this, &TVersionInformation::siteLinkClick);
    connect(OK, &QPushButton::clicked, this, &QDialog::accept);
}

void TVersionInformation::siteLinkClick(const QString& address) {
    LaunchRequest request;
    request.target = address.toStdString();
    request.showCommand = kSwShowNormal;
    request.parent = static_cast<std::uintptr_t>(winId());
    // An address that cannot be opened is the shell's business: no message of our own.
    try {
        system_.ShellExecute(request);
    } catch (const std::exception&) {
    }
}

void TVersionInformation::keyPressEvent(QKeyEvent* event) {
    if (event->matches(QKeySequence::Cancel)) {
        OK->click();
        return;
    }
    QDialog::keyPressEvent(event);
}

void ShowVersionInformation(System& system, Desktop& desktop, QWidget* owner) {
    TVersionInformation dialog(system, desktop, owner);
    desktop.RunModal(dialog);
}

}  // namespace nagitori
