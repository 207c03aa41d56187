#include "ui/FileDialogColumns.h"

#include <QFileDialog>
#include <QHeaderView>
#include <QScreen>
#include <QTreeView>

namespace {
constexpr QSize kRoomyDialog(720, 440);
}

void FitFileDialogColumns(QFileDialog& dialog)
{
    dialog.setViewMode(QFileDialog::Detail);
    if (auto* details = dialog.findChild<QTreeView*>()) {
        QHeaderView* header = details->header();
        header->setStretchLastSection(false);
        header->setSectionResizeMode(0, QHeaderView::Stretch);
        for (int column = 1; column < header->count(); ++column)
            header->setSectionResizeMode(column, QHeaderView::ResizeToContents);
    }
    QSize size = dialog.size().expandedTo(kRoomyDialog);
    if (const QScreen* screen = dialog.screen())
        size = size.boundedTo(screen->availableGeometry().size());
    dialog.resize(size);
}
