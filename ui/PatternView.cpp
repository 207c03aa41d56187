#include "ui/PatternView.h"

#include "controls/ReadableColors.h"
#include "platform/audio/PatternText.h"
#include "playback/ClassModPlayer.h"
#include "settings/RegistryKeys.h"
#include "ui/ChannelHeader.h"
#include "ui/OrderStrip.h"
#include "ui/PatternCellDelegate.h"

#include <QFontDatabase>
#include <QHeaderView>
#include <QKeyEvent>
#include <QScrollBar>
#include <QTableView>
#include <QVBoxLayout>

namespace {

constexpr int kFrameMs = 33;  // at most 30 frames a second
/// What the row heard needs against the other rows to be found at a glance (WCAG 2, non-text
/// contrast).
constexpr qreal kHeardContrast = 3.0;
/// Between frames while nothing moves (paused, stopped): soon enough to catch a start.
constexpr int kIdleFrameMs = 100;

/// When to show the next frame, in milliseconds: on the next row, so that it is highlighted as
/// it sounds, with the frames before it evenly apart and never closer than a frame.
int nextFrameMs(const HeardStatus& heard, bool changed)
{
    if (heard.msToNextRow < 0)
        return changed ? kFrameMs : kIdleFrameMs;
    if (heard.msToNextRow < kFrameMs)
        return kFrameMs;  // rows faster than the frames: some are not shown
    return heard.msToNextRow / (heard.msToNextRow / kFrameMs);
}

}  // namespace

PatternView::PatternView(ClassModPlayer& player, Registry& registry, QWidget* parent)
    : QWidget(parent, Qt::Window),
      m_player(player),
      m_orders(new OrderStrip(this)),
      m_table(new QTableView(this)),
      m_cells(new PatternCellDelegate(m_table)),
      m_header(new ChannelHeader(m_table)),
      m_placement(m_bounds, registry)
{
    setObjectName(QStringLiteral("PatternView"));
    setWindowTitle(tr("Pattern view"));
    resize(640, 420);
    m_orders->setObjectName(QStringLiteral("OrderStrip"));
    m_orders->setAccessibleName(tr("Order list"));
    connect(m_orders, &OrderStrip::orderChosen, &m_player, &ClassModPlayer::PlayFromOrder);

    m_table->setObjectName(QStringLiteral("PatternTable"));
    m_table->setAccessibleName(tr("Pattern"));
    m_table->setHorizontalHeader(m_header);
    m_table->setModel(&m_model);
    m_table->setItemDelegate(m_cells);
    m_table->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    // Nothing to select: the row heard is marked by the cells' delegate, the keyboard's cell by
    // its frame.
    m_table->setSelectionMode(QAbstractItemView::NoSelection);
    m_table->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    m_table->setVerticalScrollMode(QAbstractItemView::ScrollPerItem);  // the bar counts rows
    // The heard row stays in the middle, so a vertical scroll bar would only repaint with
    // every row; the wheel and the keys still scroll. The cells draw the channels' borders.
    m_table->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_table->setShowGrid(false);
    m_table->setWordWrap(false);
    // Rows as close as lines of text, as in a tracker: more of the pattern in sight.
    m_table->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_table->verticalHeader()->setDefaultSectionSize(QFontMetrics(m_table->font()).height() + 4);
    // Tab leaves the cells, as it leaves any other control; the arrows move among them.
    m_table->setTabKeyNavigation(false);
    m_table->installEventFilter(this);
    m_header->installEventFilter(this);
    connect(m_header, &ChannelHeader::muteRequested, &m_player, &ClassModPlayer::ToggleChannelMute);
    connect(m_header, &ChannelHeader::soloRequested, &m_player, &ClassModPlayer::SoloChannel);
    connect(m_header, &ChannelHeader::focusedChannelChanged, this, &PatternView::scrollToChannel);
    // Top to bottom: the orders, the channels, the cells.
    setTabOrder(m_orders, m_header);
    setTabOrder(m_header, m_table);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(m_orders);
    layout->addWidget(m_table, 1);

    connect(&m_player, &ClassModPlayer::moduleChanged, this, &PatternView::followModule);
    connect(&m_player, &ClassModPlayer::channelMutesChanged, this,
            [this] { m_model.setMutedChannels(m_player.MutedChannels()); });
    m_frames.setSingleShot(true);
    m_frames.setTimerType(Qt::PreciseTimer);
    connect(&m_frames, &QTimer::timeout, this, &PatternView::showHeard);

    m_placement.RegPath = RegistryKeys::kPatternView;
    m_placement.Restore();
    applyHeardColors();
    followModule();
}

PatternView::~PatternView() = default;

void PatternView::closeEvent(QCloseEvent* event)
{
    QWidget::closeEvent(event);
    emit closed();
}

void PatternView::showEvent(QShowEvent* event)
{
    // Beside the main window, or where it was, it may run past the edge of a small or scaled
    // screen, out of sight of the keyboard's channel.
    m_bounds.keepWhollyOnScreen();
    QWidget::showEvent(event);
    m_player.WatchHeard(true);
    m_frames.start(0);
}

void PatternView::hideEvent(QHideEvent* event)
{
    QWidget::hideEvent(event);
    m_frames.stop();
    m_player.WatchHeard(false);
    m_placement.Save();
}

void PatternView::followModule()
{
    m_model.setText(nullptr);
    m_text = m_player.ModulePath().trimmed().isEmpty() ? nullptr : PatternText::open(m_player.ModulePath());
    m_model.setText(m_text.get());
    m_model.setMutedChannels(m_player.MutedChannels());
    const QList<int> patterns = m_text ? m_text->orderPatterns() : QList<int>();
    m_orders->showOrders(patterns);
    if (m_text) {
        // The pattern the module starts with, until it is heard.
        m_model.showPattern(patterns.value(0, -1));
        // Every cell of a module is as wide as every other: a column fits one, or the longest
        // title, muted.
        int width = QFontMetrics(m_table->font()).horizontalAdvance(m_text->cell(m_model.pattern(), 0, 0));
        const QFontMetrics titles = m_header->fontMetrics();
        for (int channel = 0; channel < m_model.columnCount(); ++channel)
            width = std::max(width, titles.horizontalAdvance(m_model.channelTitle(channel, true)));
        m_header->setDefaultSectionSize(width + 16);
    }
    m_header->clearLevels();
    m_cells->setHeardRow(-1);
    m_shownOrder = -1;
    m_shownRow = -1;
}

void PatternView::showHeard()
{
    const HeardStatus heard = m_player.Heard();
    if (heard.module == 0 || !m_text) {
        m_frames.start(nextFrameMs(heard, m_header->showLevels({})));
        return;
    }
    bool changed = false;
    const int order = static_cast<int>(heard.order);
    const int row = static_cast<int>(heard.row);
    if (order != m_shownOrder) {
        m_orders->showHeardOrder(order);
        m_shownOrder = order;
        changed = true;
    }
    if (static_cast<int>(heard.pattern) != m_model.pattern()) {
        m_model.showPattern(static_cast<int>(heard.pattern));
        m_shownRow = -1;
    }
    if (row != m_shownRow) {
        showHeardRow(row);
        m_shownRow = row;
        changed = true;
    }
    changed = m_header->showLevels(heard.levels) || changed;
    m_frames.start(nextFrameMs(heard, changed));
}

void PatternView::showHeardRow(int row)
{
    // Marked, neither selected nor made current: the keyboard's cell stays where the listener
    // put it, and a screen reader is not told of every row.
    const int before = m_cells->heardRow();
    m_cells->setHeardRow(row);
    // Only vertically: the channels stay where the listener scrolled to.
    const int rowsShown = m_table->viewport()->height() / std::max(1, m_table->rowHeight(row));
    m_table->verticalScrollBar()->setValue(row - rowsShown / 2);
    updateRow(before);
    updateRow(row);
}

void PatternView::updateRow(int row)
{
    if (row >= 0 && row < m_model.rowCount())
        m_table->viewport()->update(0, m_table->rowViewportPosition(row), m_table->viewport()->width(),
                                    m_table->rowHeight(row));
}

int PatternView::rowInSight() const
{
    return std::max(m_table->rowAt(m_table->viewport()->height() / 2), 0);
}

void PatternView::scrollToChannel(int channel)
{
    // Not by the current cell: every move of it is told to a screen reader as a move of the
    // keyboard, even where the keyboard is on a header.
    m_table->scrollTo(m_model.index(rowInSight(), channel));
}

void PatternView::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::PaletteChange || event->type() == QEvent::ApplicationPaletteChange)
        applyHeardColors();
}

void PatternView::applyHeardColors()
{
    // The highlight, made to stand out from the rows and the meters' ground, with text readable
    // on it: dark palettes often keep a dark highlight on their dark base.
    const QColor background = ReadableColors::readableOn(palette().color(QPalette::Highlight),
                                                         palette().color(QPalette::Base), kHeardContrast);
    const QColor text = ReadableColors::readableOn(palette().color(QPalette::HighlightedText), background);
    m_cells->setHeardColors(background, text);
    updateRow(m_cells->heardRow());
    m_orders->setHeardColors(background, text);
    // The meters are drawn in the header's highlight; its other colours stay inherited.
    QPalette meters;
    meters.setColor(QPalette::Highlight, background);
    m_header->setPalette(meters);
}

bool PatternView::eventFilter(QObject* watched, QEvent* event)
{
    // From a header to the cells, the keyboard stays on its channel.
    if (watched == m_table && event->type() == QEvent::FocusIn && m_model.columnCount() > 0
        && m_table->currentIndex().column() != m_header->focusedChannel()) {
        m_table->setCurrentIndex(m_model.index(rowInSight(), m_header->focusedChannel()));
    }
    // On a header or on a cell alike: the channel the keyboard is on.
    if ((watched == m_table || watched == m_header) && event->type() == QEvent::KeyPress) {
        const int channel = m_header->focusedChannel();
        switch (static_cast<QKeyEvent*>(event)->key()) {
        case Qt::Key_Space:
            m_player.ToggleChannelMute(channel);
            return true;
        case Qt::Key_S:
            m_player.SoloChannel(channel);
            return true;
        case Qt::Key_Escape:
            m_player.UnmuteAllChannels();
            return true;
        default:
            break;
        }
    }
    return QWidget::eventFilter(watched, event);
}
