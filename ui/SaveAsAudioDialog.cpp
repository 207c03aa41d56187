#include "ui/SaveAsAudioDialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

SaveAsAudioDialog::SaveAsAudioDialog(const SaveAsAudioChoice& initial, const RenderQuality& quality,
                                     const QString& subsongText, int subsongCount, QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("SaveAsAudioDialog"));
    setWindowTitle(QStringLiteral("Save as audio"));
    auto* form = new QFormLayout;

    m_format = new QComboBox(this);
    m_format->setObjectName(QStringLiteral("cmbAudioFormat"));
    for (const AudioFileFormat format : writableAudioFormats()) {
        m_format->addItem(QLatin1String(audioFileType(format).name), int(format));
        if (format == initial.format)
            m_format->setCurrentIndex(m_format->count() - 1);
    }
    form->addRow(QStringLiteral("&Format:"), m_format);

    auto* qualityText = new QLabel(QualityText(quality), this);
    qualityText->setObjectName(QStringLiteral("lblAudioQuality"));
    qualityText->setWordWrap(true);
    qualityText->setToolTip(QStringLiteral("As the music plays: Actions - Options - Quality"));
    form->addRow(QStringLiteral("Quality:"), qualityText);

    if (!subsongText.isEmpty() && subsongCount > 1) {
        auto* current = new QRadioButton(QStringLiteral("&The one that plays: %1").arg(subsongText), this);
        current->setObjectName(QStringLiteral("rdbCurrentSubsong"));
        m_eachSubsong = new QRadioButton(
            QStringLiteral("&Each of the %1 subsongs into a file of its own").arg(subsongCount), this);
        m_eachSubsong->setObjectName(QStringLiteral("rdbEachSubsong"));
        (initial.eachSubsong ? m_eachSubsong : current)->setChecked(true);
        auto* subsongs = new QVBoxLayout;
        subsongs->addWidget(current);
        subsongs->addWidget(m_eachSubsong);
        form->addRow(QStringLiteral("Subsong:"), subsongs);
    }

    m_times = new QSpinBox(this);
    m_times->setObjectName(QStringLiteral("spnTimesPlayed"));
    m_times->setRange(1, kMaxTimesPlayed);
    m_times->setValue(initial.timesPlayed);
    m_times->setSuffix(QStringLiteral(" time(s)"));
    form->addRow(QStringLiteral("&Play the song:"), m_times);

    m_fade = new QSpinBox(this);
    m_fade->setObjectName(QStringLiteral("spnFadeOut"));
    m_fade->setRange(0, kMaxFadeSeconds);
    m_fade->setValue(initial.fadeSeconds);
    m_fade->setSuffix(QStringLiteral(" s"));
    m_fade->setSpecialValueText(QStringLiteral("None"));
    m_fade->setToolTip(QStringLiteral("A song that loops goes on into its next pass, fading out; "
                                      "one that ends stops there"));
    form->addRow(QStringLiteral("Fade &out a song that loops over:"), m_fade);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("&Save..."));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
}

SaveAsAudioChoice SaveAsAudioDialog::choice() const
{
    SaveAsAudioChoice chosen;
    chosen.format = AudioFileFormat(m_format->currentData().toInt());
    chosen.eachSubsong = m_eachSubsong && m_eachSubsong->isChecked();
    chosen.timesPlayed = m_times->value();
    chosen.fadeSeconds = m_fade->value();
    return chosen;
}

QString SaveAsAudioDialog::QualityText(const RenderQuality& quality)
{
    const QString ramping = quality.volumeRamping == RenderQuality::kDefaultVolumeRamping
                                ? QStringLiteral("default")
                                : quality.volumeRamping == 0 ? QStringLiteral("off")
                                                             : QString::number(quality.volumeRamping);
    QString text = QStringLiteral("%1-tap interpolation, stereo separation %2 %, volume ramping %3")
                       .arg(quality.interpolationTaps)
                       .arg(quality.stereoSeparation)
                       .arg(ramping);
    if (quality.amigaResampler)
        text += QStringLiteral(", Amiga resampler");
    return text;
}
