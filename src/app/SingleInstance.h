#pragma once

#include <QLocalServer>
#include <QObject>
#include <QString>

class QWidget;

namespace nagitori {

// One running copy per user and display. The first copy listens on a local socket; a later one hands over to it
// (which brings its window forward) and ends. A socket left behind by a copy that crashed is taken over.
class SingleInstance : public QObject {
    Q_OBJECT
public:
    // `socketPath`: empty when no private place for the socket exists; every copy then runs on its own.
    explicit SingleInstance(const QString& socketPath, QObject* parent = nullptr);

    // True when another copy runs and was asked to come forward: this one should end.
    bool HandedOver() const { return handedOver_; }

    // The socket of this user on this display: in $XDG_RUNTIME_DIR, else in a folder of the user's own in the
    // temporary folder; empty when neither can be had safely.
    static QString SocketPath();

signals:
    // A later copy asked this one to come forward.
    void Requested();

private:
    bool AskRunningCopy(const QString& socketPath);
    void Answer();

    QLocalServer server_;
    bool handedOver_ = false;
};

// What a request does to the main window: un-minimized, raised and activated (Wayland compositors may refuse the
// last two to a program that was not clicked).
void BringForward(QWidget& window);

}  // namespace nagitori
