#include "widgets/FileDrops.h"

#include <QDropEvent>
#include <QMimeData>
#include <QUrl>
#include <QWidget>
#include <utility>

namespace nagitori {

namespace {

QStringList LocalFiles(const QMimeData* data) {
    QStringList files;
    if (data != nullptr && data->hasUrls()) {
        for (const QUrl& url : data->urls()) {
            if (url.isLocalFile()) {
                files.push_back(url.toLocalFile());
            }
        }
    }
    return files;
}

class FileDropFilter : public QObject {
public:
    FileDropFilter(QWidget* target, std::function<void(const QStringList&)> dropped)
        : QObject(target), dropped_(std::move(dropped)) {}

protected:
    bool eventFilter(QObject* /*watched*/, QEvent* event) override {
        switch (event->type()) {
            case QEvent::DragEnter:
            case QEvent::DragMove: {
                auto* drag = static_cast<QDropEvent*>(event);
                if (LocalFiles(drag->mimeData()).isEmpty()) {
                    return false;
                }
                drag->acceptProposedAction();
                return true;
            }
            case QEvent::Drop: {
                auto* drop = static_cast<QDropEvent*>(event);
                const QStringList files = LocalFiles(drop->mimeData());
                if (files.isEmpty()) {
                    return false;
                }
                drop->acceptProposedAction();
                dropped_(files);
                return true;
            }
            default: return false;
        }
    }

private:
    std::function<void(const QStringList&)> dropped_;
};

}  // namespace

void AcceptFileDrops(QWidget* target, std::function<void(const QStringList&)> dropped) {
    target->setAcceptDrops(true);
    target->installEventFilter(new FileDropFilter(target, std::move(dropped)));
}

}  // namespace nagitori
