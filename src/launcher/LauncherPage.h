#pragma once

#include <QObject>
#include <QPushButton>
#include <array>
#include <optional>

#include "platform/Desktop.h"
#include "platform/System.h"
#include "settings/ProfileFile.h"

namespace nagitori {

// The twenty buttons of the launcher page, one per slot, and their shared click handler.
class LauncherPage : public QObject {
    Q_OBJECT
public:
    // launcherReading: the main window's handle on the launcher data file, read at each refresh and click.
    LauncherPage(System& system, Desktop& desktop, QWidget* window, QWidget* page,
                 const std::optional<ProfileFile>& launcherReading);

    QPushButton* Button(int tag) const { return buttons_[static_cast<size_t>(tag)]; }

    // Captions and enabled states from the slots' names.
    void LauncherDataReading();
    // Each used slot's button shows the icon of what it starts; read once per refill, never at a click.
    void IconsReading();
    // Starts the slot of the button with this tag; every error ends the click silently.
    void LauncherClick(int tag);

private:
    void Launch(int tag);

    System& system_;
    Desktop& desktop_;
    QWidget* window_;
    const std::optional<ProfileFile>& launcherReading_;
    std::array<QPushButton*, 20> buttons_{};
};

}  // namespace nagitori
