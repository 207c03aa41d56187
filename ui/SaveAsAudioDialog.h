#pragma once

#include "platform/audio/AudioFileFormats.h"
#include "platform/audio/RenderQuality.h"
#include "platform/audio/SongRender.h"

#include <QDialog>
#include <QString>

class QComboBox;
class QRadioButton;
class QSpinBox;

/// How songs are to be saved as audio files, as the user chose it.
struct SaveAsAudioChoice {
    AudioFileFormat format = AudioFileFormat::Flac;
    bool eachSubsong = false;  // every subsong shown into a file of its own
    int timesPlayed = 1;
    int fadeSeconds = SongRenderSettings::kDefaultFadeSeconds;  // for songs that loop; 0: none
};

/// The save-as-audio dialog: the format (those libsndfile writes here), the subsong, how many
/// times the song plays and the fade-out of a song that loops; the Quality settings that
/// apply are shown. GUI thread only.
class SaveAsAudioDialog : public QDialog {
    Q_OBJECT
public:
    static constexpr int kMaxTimesPlayed = 20;
    static constexpr int kMaxFadeSeconds = 60;

    /// Opens with initial. subsongText names the subsong that plays ("2: Boss theme (1:28)")
    /// and subsongCount how many the menu shows; where subsongText is empty (a disc, whose
    /// slots each name their subsong) or there is only one, the subsong is not asked for.
    SaveAsAudioDialog(const SaveAsAudioChoice& initial, const RenderQuality& quality,
                      const QString& subsongText, int subsongCount, QWidget* parent);

    SaveAsAudioChoice choice() const;

    /// The Quality settings in a line: "8-tap interpolation, stereo separation 100 %, ...".
    static QString QualityText(const RenderQuality& quality);

private:
    QComboBox* m_format = nullptr;
    QRadioButton* m_eachSubsong = nullptr;  // null where the subsong is not asked for
    QSpinBox* m_times = nullptr;
    QSpinBox* m_fade = nullptr;
};
