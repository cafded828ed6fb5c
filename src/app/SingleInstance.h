#pragma once

#include <QObject>
#include <memory>

#include "app/ActivationContext.h"
#include "app/HandOver.h"

namespace nagitori {

// The running copy's side of the hand-over: listens on the socket of its claim and answers every request of a
// later start it has taken. Made once the window is up, so that an answer always means the window comes forward.
class SingleInstance : public QObject {
    Q_OBJECT
public:
    // Listens on the claim's socket, taking it over from a copy that did not answer, then lets later starts ask.
    explicit SingleInstance(InstanceClaim& claim, QObject* parent = nullptr);
    ~SingleInstance() override;

signals:
    // A later start asked this copy to come forward, with the desktop's context of that start.
    void Requested(const nagitori::ActivationContext& context);

private:
    class Server;
    std::unique_ptr<Server> server_;
};

}  // namespace nagitori
