#pragma once

#include "settings/TPersWindow.h"
#include "ui/PatternModel.h"
#include "ui/WidgetBounds.h"

#include <QTimer>
#include <QWidget>

#include <memory>

class ChannelHeader;
class ClassModPlayer;
class OrderStrip;
class PatternCellDelegate;
class PatternText;
class QTableView;
class Registry;

/// A window that shows the module that plays as it is heard: the order list as a strip with
/// the order heard marked (a click or Enter plays from there), the pattern heard with the row
/// heard highlighted in the middle, and a level meter over each channel. Channels are muted and
/// soloed from their headers, or from the keyboard on a header or a cell (Space mutes that
/// channel, S solos it, Escape lets every channel sound). Tab goes from the strip to the
/// headers (Left and Right go from channel to channel) and on to the cells; the headers and the
/// cells share one channel. Its place and size are kept under the program's "Pattern View" key.
/// While it is hidden it costs nothing.
class PatternView : public QWidget {
    Q_OBJECT

public:
    /// player must outlive it while it is shown; hidden, it no longer touches it (a view
    /// closed from its title bar is deleted later, when the player may be gone).
    PatternView(ClassModPlayer& player, Registry& registry, QWidget* parent = nullptr);
    ~PatternView() override;

signals:
    /// Closed by the user (its title bar, or the window manager).
    void closed();

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void changeEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    /// Reads the patterns of the module that is loaded now.
    void followModule();
    /// One frame: what is heard now.
    void showHeard();
    /// Marks row as heard, keeping it in the middle.
    void showHeardRow(int row);
    void updateRow(int row);
    /// Scrolls the table to channel, the rows staying.
    void scrollToChannel(int channel);
    /// The row in the middle of the table's view; 0 without rows.
    int rowInSight() const;
    /// Gives what is heard (the row, the order, the meters) the palette's colours.
    void applyHeardColors();

    ClassModPlayer& m_player;
    std::unique_ptr<PatternText> m_text;
    PatternModel m_model;
    OrderStrip* m_orders;
    QTableView* m_table;
    PatternCellDelegate* m_cells;
    ChannelHeader* m_header;
    QTimer m_frames;
    int m_shownOrder = -1;
    int m_shownRow = -1;
    WidgetBounds m_bounds{*this};
    TPersWindow m_placement;
};
