#include "ui/AccessibleChannelHeader.h"

#include "ui/ChannelHeader.h"

#include <QPointer>
#include <QWindow>

namespace {

/// One channel's header, as a screen reader sees it; asks its header for everything, so it is
/// never out of date.
class AccessibleChannelTitle : public QAccessibleInterface {
public:
    AccessibleChannelTitle(ChannelHeader* header, int channel) : m_header(header), m_channel(channel) {}

    bool isValid() const override { return m_header && m_channel < m_header->count(); }
    // No object of its own: an object has one interface, and the header widget's is the header's.
    QObject* object() const override { return nullptr; }
    QWindow* window() const override { return m_header ? m_header->window()->windowHandle() : nullptr; }
    QAccessibleInterface* parent() const override { return QAccessible::queryAccessibleInterface(m_header); }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    void setText(QAccessible::Text, const QString&) override {}
    QAccessible::Role role() const override { return QAccessible::ColumnHeader; }

    QString text(QAccessible::Text kind) const override
    {
        if (kind != QAccessible::Name || !isValid() || !m_header->model())
            return QString();
        return m_header->model()->headerData(m_channel, Qt::Horizontal).toString();
    }

    QRect rect() const override
    {
        if (!isValid())
            return QRect();
        const QRect section(m_header->sectionViewportPosition(m_channel), 0, m_header->sectionSize(m_channel),
                            m_header->viewport()->height());
        return QRect(m_header->viewport()->mapToGlobal(section.topLeft()), section.size());
    }

    QAccessible::State state() const override
    {
        QAccessible::State state;
        if (!isValid()) {
            state.invalid = true;
            return state;
        }
        state.focusable = true;
        state.focused = m_header->hasFocus() && m_header->focusedChannel() == m_channel;
        const QRect shown(m_header->viewport()->mapToGlobal(QPoint(0, 0)), m_header->viewport()->size());
        state.invisible = !m_header->isVisible() || m_header->isSectionHidden(m_channel);
        state.offscreen = state.invisible || !shown.intersects(rect());
        return state;
    }

private:
    QPointer<ChannelHeader> m_header;
    int m_channel;
};

QAccessibleInterface* makeForChannelHeader(const QString& className, QObject* object)
{
    auto* header = qobject_cast<ChannelHeader*>(object);
    if (className != QLatin1String("ChannelHeader") || !header)
        return nullptr;
    return new AccessibleChannelHeader(header);
}

}  // namespace

AccessibleChannelHeader::AccessibleChannelHeader(ChannelHeader* header)
    : QAccessibleWidget(header, QAccessible::Grouping)
{
}

AccessibleChannelHeader::~AccessibleChannelHeader()
{
    for (const QAccessible::Id id : std::as_const(m_channels))
        QAccessible::deleteAccessibleInterface(id);
}

void AccessibleChannelHeader::install()
{
    static const bool installed = (QAccessible::installFactory(makeForChannelHeader), true);
    Q_UNUSED(installed);
}

ChannelHeader* AccessibleChannelHeader::header() const
{
    return static_cast<ChannelHeader*>(widget());
}

int AccessibleChannelHeader::childCount() const
{
    return header()->count();
}

QAccessibleInterface* AccessibleChannelHeader::child(int index) const
{
    if (index < 0 || index >= childCount())
        return nullptr;
    const auto known = m_channels.constFind(index);
    if (known != m_channels.constEnd())
        return QAccessible::accessibleInterface(*known);
    auto* title = new AccessibleChannelTitle(header(), index);
    m_channels.insert(index, QAccessible::registerAccessibleInterface(title));
    return title;
}

int AccessibleChannelHeader::indexOfChild(const QAccessibleInterface* child) const
{
    const QAccessible::Id id = QAccessible::uniqueId(const_cast<QAccessibleInterface*>(child));
    const int index = m_channels.key(id, -1);
    return index < childCount() ? index : -1;
}

QAccessibleInterface* AccessibleChannelHeader::childAt(int x, int y) const
{
    const QPoint local = header()->viewport()->mapFromGlobal(QPoint(x, y));
    const int channel = header()->logicalIndexAt(local);
    return channel >= 0 && header()->viewport()->rect().contains(local) ? child(channel) : nullptr;
}

QAccessibleInterface* AccessibleChannelHeader::focusChild() const
{
    return header()->hasFocus() && childCount() > 0 ? child(header()->focusedChannel()) : nullptr;
}
