#include "launcher/LauncherPage.h"

#include "launcher/LaunchFailureText.h"
#include "launcher/LauncherSlots.h"
#include "platform/qt/ThemeIcon.h"
#include "tools/ButtonGrid.h"
#include "widgets/CaptionFit.h"

namespace nagitori {

LauncherPage::LauncherPage(System& system, Desktop& desktop, QWidget* window, QWidget* page,
                           const std::optional<ProfileFile>& launcherReading)
    : QObject(window),
      system_(system),
      desktop_(desktop),
      window_(window),
      launcherReading_(launcherReading),
      iconLookups_(new OffThread(this)) {
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
    const int refill = ++iconRefill_;
    iconsToCome_ = 0;
    for (int tag = 0; tag < kLauncherSlotCount; ++tag) {
        QPushButton* button = buttons_[static_cast<size_t>(tag)];
        const std::string target = button->isEnabled() ? ReadLauncherFilePath(*launcherReading_, tag + 1) : "";
        std::string& shown = iconTargets_[static_cast<size_t>(tag)];
        // The icon of what the button no longer starts goes at once; the same target keeps its icon until the
        // new one is there. The caption may have changed either way.
        if (target != shown) {
            shown = target;
            button->setIcon(QIcon());
        }
        FitCaptionBesideIcon(*button);
        if (target.empty()) {
            continue;
        }
        System& system = system_;
        ++iconsToCome_;
        iconLookups_->Run<LoadedIcon>([&system, target] { return LoadIcon(system.IconFor(target)); },
                                      [this, tag, refill](const LoadedIcon& icon) {
                                          if (refill == iconRefill_) {
                                              --iconsToCome_;
                                              SetIcon(*Button(tag), ThemeIcon(icon));
                                          }
                                      });
    }
}

bool LauncherPage::IconsPending() const {
    return iconsToCome_ > 0;
}

void LauncherPage::SetIcon(QPushButton& button, const QIcon& icon) {
    button.setIcon(icon);
    FitCaptionBesideIcon(button);
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
