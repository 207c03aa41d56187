#include "controls/TDragAcceptFiles.h"

#include <QDropEvent>
#include <QMimeData>
#include <QUrl>

namespace {

QStringList localFiles(const QMimeData* data)
{
    QStringList files;
    if (data == nullptr || !data->hasUrls())
        return files;
    for (const QUrl& url : data->urls()) {
        const QString path = url.isLocalFile() ? url.toLocalFile() : QString();
        if (!path.isEmpty())
            files.append(path);
    }
    return files;
}

// Accepts the drag or drop as a copy. Never as a move: the file manager would delete its
// files after the drop.
bool acceptAsCopy(QDropEvent* event)
{
    if (!event->possibleActions().testFlag(Qt::CopyAction))
        return false;
    event->setDropAction(Qt::CopyAction);
    event->accept();
    return true;
}

}  // namespace

TDragAcceptFiles::TDragAcceptFiles(QWidget* owner)
    : QObject(owner)
    , m_owner(owner)
{
    SetEnabled(true);
}

TDragAcceptFiles::~TDragAcceptFiles()
{
    SetEnabled(false);
}

void TDragAcceptFiles::SetEnabled(bool enabled)
{
    if (enabled == m_enabled)
        return;
    m_enabled = enabled;
    if (!m_owner)
        return;
    m_owner->setAcceptDrops(enabled);
    // Qt tolerates removing and installing a filter while it runs: the event being delivered
    // finishes in this call and reaches the filter no second time.
    if (enabled)
        m_owner->installEventFilter(this);
    else
        m_owner->removeEventFilter(this);
}

bool TDragAcceptFiles::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != m_owner)
        return false;
    switch (event->type()) {
    case QEvent::DragEnter:
    case QEvent::DragMove: {
        auto* drag = static_cast<QDropEvent*>(event);  // the base of enter and move
        return !localFiles(drag->mimeData()).isEmpty() && acceptAsCopy(drag);
    }
    case QEvent::Drop: {
        auto* drop = static_cast<QDropEvent*>(event);
        QStringList files = localFiles(drop->mimeData());
        if (files.isEmpty() || !acceptAsCopy(drop))
            return false;
        m_droppedFiles = std::move(files);
        emit OnDrop();
        return true;
    }
    default:
        return false;
    }
}
