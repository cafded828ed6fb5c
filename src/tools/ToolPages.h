#pragma once

#include <QAction>
#include <QObject>
#include <QPushButton>
#include <array>
#include <optional>
#include <string>
#include <vector>

#include "platform/Desktop.h"
#include "platform/System.h"
#include "platform/qt/ThemeIcon.h"
#include "settings/ProfileFile.h"
#include "widgets/OffThread.h"

namespace nagitori {

// What the tool buttons read from and write to the main window at the moment of a click.
struct ToolRunState {
    const std::vector<std::string>& ToolRunCommand;
    std::string& CommandLine;
    const std::string& CurrentDirectory;
    const int& WindowSize;
    const QAction& N4;
    const std::optional<ProfileFile>& SettingDataReader;
};

// The sixty buttons of the three built-in pages and their two launch handlers. A page's buttons are made when the
// page is first shown or one of them is asked for: most starts show one page of the three, or none.
class ToolPages : public QObject {
    Q_OBJECT
public:
    // pages: the first three pages of the main window, which own the buttons.
    ToolPages(System& system, Desktop& desktop, QWidget* window, const std::array<QWidget*, 3>& pages,
              ToolRunState state);

    // The button of this tag, made with the rest of its page if it was not yet.
    QPushButton* Button(int tag);
    // Makes the buttons of page 0, 1 or 2 unless they are there, with the icons already read.
    void BuildPage(int page);

    void ToolRunClick(int tag);
    void Win10AppRunClick(int tag);
    // Each button shows the icon of the program it would start, none when nothing is installed; looked up off the
    // interface thread for every page, made or not.
    void IconsReading();
    // Whether the icons of the last reading are still to come.
    bool IconsPending() const { return iconsToCome_; }

signals:
    void Clicked(int tag);

protected:
    // Each button's tooltip is asked of the platform when it shows, as programs come and go.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The platform's own notice when it has nothing to start for the button, or, for a start with
    // administrator rights, nothing to raise them with.
    void ReportMissingProgram(int tag, bool elevated);
    // Shows the icon read for the button, the caption narrower where it would not fit beside it.
    void ShowIcon(int tag);

    System& system_;
    Desktop& desktop_;
    QWidget* window_;
    ToolRunState state_;
    std::array<QWidget*, 3> pages_;
    std::array<QPushButton*, 60> buttons_{};
    std::vector<LoadedIcon> icons_;  // of the last reading that came, by tag
    OffThread* iconLookups_;
    int iconReading_ = 0;  // counts on with each reading, so that a late answer to an earlier one never lands
    bool iconsToCome_ = false;
};

}  // namespace nagitori
