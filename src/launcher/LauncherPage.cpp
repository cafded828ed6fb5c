#include "launcher/LauncherPage.h"

#include "launcher/LaunchFailureText.h"
#include "launcher/LauncherSlots.h"
#include "platform/qt/ThemeIcon.h"
#include "tools/ButtonGrid.h"
#include "widgets/CaptionFit.h"

namespace nagitori {

LauncherPage::LauncherPage(System& system, Desktop& desktop, QWidget* window, QWidget* page,
                           const std::optional<ProfileFile>& launcherReading)
    : QObject(window), system_(system), desktop_(desktop), window_(window), launcherReading_(launcherReading) {
    for (int tag = 0; tag < kLauncherSlotCount; ++tag) {
        auto* button = new QPushButton(page);
        button->setObjectName(QStringLiteral("Launcher%1").arg(tag + 1));
        button->setProperty("tag", tag);
        button->setGeometry(GridButtonGeometry(tag));
        button->setIconSize(QSize(16, 16));
        button->setEnabled(false);
        if (tag > 0) {
            QWidget::setTabOrder(buttons_[static_cast<size_t>(tag - 1)], button);
        }
        connect(button, &QPushButton::clicked, this, [this, tag] { LauncherClick(tag); });
        buttons_[static_cast<size_t>(tag)] = button;
    }
}

void LauncherPage::LauncherDataReading() {
    for (int tag = 0; tag < kLauncherSlotCount; ++tag) {
        const QString name = QString::fromStdString(ReadLauncherName(*launcherReading_, tag + 1));
        QPushButton* button = buttons_[static_cast<size_t>(tag)];
        button->setEnabled(!name.isEmpty());
        button->setText(name);
    }
}

void LauncherPage::IconsReading() {
    for (int tag = 0; tag < kLauncherSlotCount; ++tag) {
        QPushButton* button = buttons_[static_cast<size_t>(tag)];
        button->setIcon(button->isEnabled()
                            ? ThemeIcon(system_.IconFor(ReadLauncherFilePath(*launcherReading_, tag + 1)))
                            : QIcon());
        FitCaptionBesideIcon(*button);
    }
}

void LauncherPage::LauncherClick(int tag) {
    try {
        Launch(tag);
    } catch (...) {
        // A launcher button never bothers the user with anything but the launch result.
    }
}

void LauncherPage::Launch(int tag) {
    const LauncherEntry entry = ReadLauncherEntry(*launcherReading_, tag + 1);
    LaunchRequest request;
    request.verb = entry.anAdminAdd ? "runas" : "";
    // An index without a mapping can only come from a hand edit: a hidden window is never wanted.
    if (!ShowCommandForIndex(entry.windowSize, request.showCommand)) {
        request.showCommand = kSwShowNormal;
    }
    request.target = entry.filePath;
    request.parameters = entry.commandLine;
    request.directory = entry.currentDirectory;
    request.parent = window_->winId();

    const int result = system_.ShellExecute(request);
    if (!LaunchSucceeded(result)) {
        desktop_.MessageBox(window_, QString::fromStdString(LaunchFailureText(result, entry.filePath)),
                            mb::kIconWarning);
    }
}

}  // namespace nagitori
