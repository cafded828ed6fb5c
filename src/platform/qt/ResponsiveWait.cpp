#include "platform/qt/ResponsiveWait.h"

#include <QEventLoop>
#include <QTimer>

namespace nagitori {

void WaitWithoutUserInput(const std::function<bool()>& done) {
    if (done()) {
        return;
    }
    QEventLoop loop;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
        if (done()) {
            poll.stop();
            loop.quit();
        }
    });
    poll.start(20);
    loop.exec(QEventLoop::ExcludeUserInputEvents);
}

}  // namespace nagitori
