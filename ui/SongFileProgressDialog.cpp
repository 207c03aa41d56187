#include "ui/SongFileProgressDialog.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

namespace {

/// Too little done yet for the rate to say anything of the rest.
constexpr double kFirstEstimateAt = 0.02;

}  // namespace

SongFileProgressDialog::SongFileProgressDialog(int files, QWidget* parent)
    : QDialog(parent), m_files(std::max(files, 1))
{
    setObjectName(QStringLiteral("SongFileProgressDialog"));
    setWindowTitle(QStringLiteral("Saving as audio"));
    setModal(false);
    m_file = new QLabel(this);
    m_file->setObjectName(QStringLiteral("lblFileNumber"));
    m_name = new QLabel(this);
    m_name->setObjectName(QStringLiteral("lblFileName"));
    m_name->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_bar = new QProgressBar(this);
    m_bar->setObjectName(QStringLiteral("barSaving"));
    m_bar->setRange(0, 1000);
    m_bar->setFormat(QStringLiteral("%p%"));
    m_bar->setMinimumWidth(320);
    m_timeLeft = new QLabel(QStringLiteral("Time left: estimating..."), this);
    m_timeLeft->setObjectName(QStringLiteral("lblTimeLeft"));
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::rejected, this, &SongFileProgressDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_file);
    layout->addWidget(m_name);
    layout->addWidget(m_bar);
    layout->addWidget(m_timeLeft);
    layout->addWidget(buttons);
    showFile(0, QString());
}

void SongFileProgressDialog::showFile(int index, const QString& name)
{
    if (!m_clock.isValid())
        m_clock.start();
    m_index = index;
    m_file->setText(QStringLiteral("File %1 of %2").arg(index + 1).arg(m_files));
    m_name->setText(name);
    showProgress(0);
}

void SongFileProgressDialog::showProgress(double fraction)
{
    // Each file counts as much as the next: their lengths are not known ahead.
    const double done = (m_index + std::clamp(fraction, 0.0, 1.0)) / m_files;
    m_bar->setValue(int(std::lround(done * m_bar->maximum())));
    if (done >= kFirstEstimateAt) {
        const double elapsed = m_clock.elapsed() / 1000.0;
        m_timeLeft->setText(QStringLiteral("Time left: ") + TimeLeftText(elapsed * (1 - done) / done));
    }
}

QString SongFileProgressDialog::TimeLeftText(double seconds)
{
    if (seconds < 1)
        return QStringLiteral("less than a second");
    const qint64 whole = std::llround(seconds);
    return QStringLiteral("%1:%2").arg(whole / 60).arg(whole % 60, 2, 10, QLatin1Char('0'));
}

void SongFileProgressDialog::reject()
{
    // Closed only when the work has stopped: the batch's end closes it.
    m_timeLeft->setText(QStringLiteral("Cancelling..."));
    emit cancelRequested();
}
