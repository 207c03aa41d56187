#pragma once

#include <QObject>
#include <QPointer>
#include <QStringList>
#include <QWidget>

/// Makes its owner widget take local files dropped on it from a file manager.
///
/// While Enabled, the owner accepts drops and this component filters the owner's events: a
/// drag whose data carries at least one local file URL is accepted (copy); its drop fills
/// DroppedFiles and emits OnDrop. Such drag and drop events are consumed, so the owner never
/// handles the same files itself; all other events, including drags without local files,
/// reach the owner unchanged.
///
/// Enabled may be switched off and on from an OnDrop handler, while the drop is still being
/// delivered; the owner then has exactly one filter of this component again.
/// GUI thread only.
class TDragAcceptFiles : public QObject {
    Q_OBJECT

public:
    /// A child of owner (not null), enabled at once.
    explicit TDragAcceptFiles(QWidget* owner);
    /// Leaves the owner, if it still exists, not accepting drops and without the filter.
    ~TDragAcceptFiles() override;

    /// Accepting drops: the owner's acceptDrops and this component's event filter on it.
    /// True at first; writing the current value does nothing.
    bool Enabled() const { return m_enabled; }
    void SetEnabled(bool enabled);

    /// Full local paths of the files of the last drop, in the order the drag listed them,
    /// duplicates kept; URLs that are not local files are left out. Each drop replaces the
    /// whole list; empty before the first.
    const QStringList& DroppedFiles() const { return m_droppedFiles; }

signals:
    /// After each drop, once DroppedFiles holds its files.
    void OnDrop();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QPointer<QWidget> m_owner;
    QStringList m_droppedFiles;
    bool m_enabled = false;
};
