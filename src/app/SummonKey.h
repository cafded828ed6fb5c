#pragma once

#include <QString>
#include <memory>
#include <optional>

#include "platform/Desktop.h"
#include "platform/SummonKeyBinding.h"

class QWidget;

namespace nagitori {

// The summon key of the settings file, bound while the program runs. A binding that cannot be made is reported
// with the command to bind by hand.
class SummonKey {
public:
    // `command` is the program's command as the user would bind it; `window` owns the message boxes.
    SummonKey(Desktop& desktop, QWidget& window, std::unique_ptr<SummonKeyBinding> binding, QString command);

    // Binds the key given in Qt's portable text in place of the one bound before; empty removes it. Unchanged keys
    // that are bound, or that this desktop cannot bind and was already told about, are left as they are.
    // `atStartUp`: a desktop without a way to bind a key is not named again at every start.
    void Apply(const QString& portableText, bool atStartUp = false);

private:
    void Report(SummonKeyStatus status, const QString& shownKey);

    Desktop& desktop_;
    QWidget& window_;
    std::unique_ptr<SummonKeyBinding> binding_;
    QString command_;
    std::optional<QString> applied_;
    std::optional<SummonKeyStatus> status_;
};

}  // namespace nagitori
