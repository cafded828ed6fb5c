#pragma once

#include <QObject>
#include <QPushButton>
#include <array>
#include <optional>
#include <string>

#include "platform/Desktop.h"
#include "platform/System.h"
#include "settings/ProfileFile.h"
#include "widgets/OffThread.h"

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
    // Each used slot's button shows the icon of what it starts, looked up off the interface thread at each refill
    // and never at a click: a registered path that does not answer leaves its button without an icon, nothing more.
    void IconsReading();
    // Whether icons of the last refill are still to come.
    bool IconsPending() const;
    // Starts the slot of the button with this tag; every error ends the click silently.
    void LauncherClick(int tag);

private:
    void Launch(int tag);
    static void SetIcon(QPushButton& button, const QIcon& icon);

    System& system_;
    Desktop& desktop_;
    QWidget* window_;
    const std::optional<ProfileFile>& launcherReading_;
    std::array<QPushButton*, 20> buttons_{};
    OffThread* iconLookups_;
    // Each refill counts one on, so that a late icon of an earlier one never lands.
    int iconRefill_ = 0;
    int iconsToCome_ = 0;                      // of the last refill
    std::array<std::string, 20> iconTargets_;  // what each button's icon stands for
};

}  // namespace nagitori
