#pragma once

#include <QAccessibleWidget>
#include <QHash>

class ChannelHeader;

/// What a screen reader is shown of a ChannelHeader: one column header per channel, named as
/// the header's model names the channel ("Channel 3, muted"), focusable, and focused while the
/// keyboard is on it. The header tells of changes (ChannelHeader::announceFocus and
/// announceTitles); this answers what is asked. GUI thread.
class AccessibleChannelHeader : public QAccessibleWidget {
public:
    explicit AccessibleChannelHeader(ChannelHeader* header);
    ~AccessibleChannelHeader() override;

    /// Makes every ChannelHeader shown through one of these; once per program, later calls do
    /// nothing.
    static void install();

    int childCount() const override;
    QAccessibleInterface* child(int index) const override;
    int indexOfChild(const QAccessibleInterface* child) const override;
    QAccessibleInterface* childAt(int x, int y) const override;
    QAccessibleInterface* focusChild() const override;

private:
    ChannelHeader* header() const;

    mutable QHash<int, QAccessible::Id> m_channels;  // made when first asked for, kept to the end
};
