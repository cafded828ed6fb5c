#include "tools/ToolPages.h"

#include <QHelpEvent>
#include <QToolTip>

#include "platform/qt/ThemeIcon.h"
#include "settings/SettingKeys.h"
#include "tools/ButtonGrid.h"
#include "tools/Catalogue.h"
#include "tools/StandInTexts.h"
#include "widgets/CaptionFit.h"

namespace nagitori {

ToolPages::ToolPages(System& system, Desktop& desktop, QWidget* window, const std::array<QWidget*, 3>& pages,
                     ToolRunState state)
    : QObject(window),
      system_(system),
      desktop_(desktop),
      window_(window),
      state_(state),
      iconLookups_(new OffThread(this)) {
    for (int tag = 0; tag < kCatalogueSize; ++tag) {
        const CatalogueEntry& entry = CatalogueEntryOf(tag);
        QWidget* page = pages[static_cast<size_t>(tag / kButtonsPerPage)];
        auto* button = new QPushButton(QString::fromUtf8(entry.caption), page);
        button->setObjectName(QString::fromUtf8(entry.button));
        button->setProperty("tag", tag);
        const int position = tag % kButtonsPerPage;
        button->setGeometry(GridButtonGeometry(position));
        button->setIconSize(QSize(16, 16));
        if (position > 0) {
            QWidget::setTabOrder(buttons_[static_cast<size_t>(tag - 1)], button);
        }
        button->installEventFilter(this);
        buttons_[static_cast<size_t>(tag)] = button;
    }
}

void ToolPages::IconsReading() {
    const int reading = ++iconReading_;
    iconsToCome_ = true;
    System& system = system_;
    // One lookup for all: what would hang one of them (a folder on PATH that does not answer) hangs them all.
    iconLookups_->Run<std::vector<LoadedIcon>>(
        [&system, commands = state_.ToolRunCommand] {
            std::vector<LoadedIcon> icons;
            for (const std::string& command : commands) {
                const std::optional<StandInReport> report = system.StandInFor(command);
                icons.push_back(report ? LoadIcon(report->icon) : LoadedIcon());
            }
            return icons;
        },
        [this, reading](const std::vector<LoadedIcon>& icons) {
            if (reading != iconReading_) {
                return;
            }
            iconsToCome_ = false;
            for (std::size_t tag = 0; tag < icons.size() && tag < buttons_.size(); ++tag) {
                buttons_[tag]->setIcon(ThemeIcon(icons[tag]));
                FitCaptionBesideIcon(*buttons_[tag]);
            }
        });
}

bool ToolPages::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::ToolTip) {
        return false;
    }
    auto* button = qobject_cast<QPushButton*>(watched);
    const int tag = button == nullptr ? -1 : button->property("tag").toInt();
    if (tag < 0 || tag >= kCatalogueSize || Button(tag) != button) {
        return false;
    }
    const std::optional<StandInReport> report = system_.StandInFor(state_.ToolRunCommand.at(static_cast<size_t>(tag)));
    if (!report) {
        return false;
    }
    QToolTip::showText(static_cast<QHelpEvent*>(event)->globalPos(), QString::fromStdString(StandInToolTip(*report)),
                       button);
    return true;
}

void ToolPages::ReportMissingProgram(int tag, bool elevated) {
    const char* caption = CatalogueEntryOf(tag).caption;
    const std::optional<StandInReport> report = system_.StandInFor(state_.ToolRunCommand.at(static_cast<size_t>(tag)));
    if (report && report->program.empty()) {
        desktop_.MessageBox(window_, QString::fromStdString(MissingStandInNotice(caption, *report)), mb::kIconWarning);
        return;
    }
    if (const std::optional<MissingProgram> missing = elevated ? system_.MissingElevation() : std::nullopt) {
        desktop_.MessageBox(window_, QString::fromStdString(MissingElevationNotice(caption, *missing)),
                            mb::kIconWarning);
    }
}

void ToolPages::ToolRunClick(int tag) {
    const bool giveAdministrator = state_.N4.isChecked();
    LaunchRequest request;
    request.verb = giveAdministrator ? "runas" : "open";
    // An index without a mapping comes from a hand-edited file and goes to the shell as it is.
    if (!ShowCommandForIndex(state_.WindowSize, request.showCommand)) {
        request.showCommand = state_.WindowSize;
    }
    if (auto fixed = FixedParameters(tag)) {
        state_.CommandLine = std::string(*fixed);
    } else {
        state_.CommandLine = setting_keys::Read(*state_.SettingDataReader, setting_keys::kCommandLine);
    }
    request.parameters = state_.CommandLine;
    request.target = state_.ToolRunCommand.at(static_cast<size_t>(tag));
    request.directory = state_.CurrentDirectory;
    request.parent = window_->winId();

    if (LaunchSucceeded(system_.ShellExecute(request))) {
        return;
    }
    ReportMissingProgram(tag, giveAdministrator);
    if (IsOfficeTag(tag) && !giveAdministrator) {
        QString product = Button(tag)->text();
        product.chop(4);
        desktop_.MessageBox(window_, product + QStringLiteral("がインストールされていません。"), mb::kIconWarning);
    }
}

void ToolPages::Win10AppRunClick(int tag) {
    LaunchRequest request;
    request.verb = "open";
    request.target = state_.ToolRunCommand.at(static_cast<size_t>(tag));
    request.showCommand = kSwShow;
    request.parent = window_->winId();
    if (!LaunchSucceeded(system_.ShellExecute(request))) {
        ReportMissingProgram(tag, false);
        desktop_.MessageBox(window_, QStringLiteral("ストアアプリの起動に失敗しました。"), mb::kIconWarning);
    }
}

}  // namespace nagitori
