#include "tools/ToolPages.h"

#include <QHelpEvent>
#include <QToolTip>

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
      pages_(pages),
      iconLookups_(new OffThread(this)) {}

QPushButton* ToolPages::Button(int tag) {
    BuildPage(tag / kButtonsPerPage);
    return buttons_.at(static_cast<size_t>(tag));
}

void ToolPages::BuildPage(int page) {
    const int first = page * kButtonsPerPage;
    if (buttons_.at(static_cast<size_t>(first)) != nullptr) {
        return;
    }
    for (int tag = first; tag < first + kButtonsPerPage; ++tag) {
        const CatalogueEntry& entry = CatalogueEntryOf(tag);
        auto* button = new QPushButton(QString::fromUtf8(entry.caption), pages_.at(static_cast<size_t>(page)));
        button->setObjectName(QString::fromUtf8(entry.button));
        button->setProperty("tag", tag);
        const int position = tag % kButtonsPerPage;
        button->setGeometry(GridButtonGeometry(position));
        button->setIconSize(QSize(16, 16));
        if (position > 0) {
            QWidget::setTabOrder(buttons_[static_cast<size_t>(tag - 1)], button);
        }
        button->installEventFilter(this);
        connect(button, &QPushButton::clicked, this, [this, tag] { emit Clicked(tag); });
        buttons_[static_cast<size_t>(tag)] = button;
        ShowIcon(tag);
    }
}

void ToolPages::ShowIcon(int tag) {
    QPushButton* button = buttons_[static_cast<size_t>(tag)];
    if (button != nullptr && static_cast<size_t>(tag) < icons_.size()) {
        button->setIcon(ThemeIcon(icons_[static_cast<size_t>(tag)]));
        FitCaptionBesideIcon(*button);
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
            icons_ = icons;
            for (int tag = 0; tag < kCatalogueSize; ++tag) {
                ShowIcon(tag);
            }
        });
}

bool ToolPages::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::ToolTip) {
        return false;
    }
    auto* button = qobject_cast<QPushButton*>(watched);
    const int tag = button == nullptr ? -1 : button->property("tag").toInt();
    if (tag < 0 || tag >= kCatalogueSize || buttons_[static_cast<size_t>(tag)] != button) {
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
