#pragma once

#include "settings/OptionRows.h"

#include <QSize>

#include <array>
#include <cstddef>

class QCheckBox;
class QComboBox;
class QDialog;
class QFrame;
class QLabel;
class QLineEdit;
class QRadioButton;
class QSlider;
class QSpinBox;
class QTabWidget;
class TNewButton;

/// The controls of the options dialog, as its form lays them out (positions in pixels of a
/// 96 dpi design) with their help contexts: the pages on tabs, OK and Cancel below. A slider's
/// positions, and the choices of a list of numbers, are those its option's row offers
/// (OptionsTable.h). Nothing is connected and nothing loaded. The dialog owns them all through
/// Qt parenting; every control has its name as objectName.
struct OptionsForm {
    static constexpr QSize kClientSize{440, 268};

    /// The controls of one user action page.
    struct UserAction {
        QLineEdit* edit = nullptr;
        TNewButton* browse = nullptr;
        QCheckBox* sleep = nullptr;
        QCheckBox* close = nullptr;
    };

    QFrame* Panel1 = nullptr;
    QTabWidget* PageControl1 = nullptr;
    // " General "
    QSlider* sldBufferSize = nullptr;
    QLabel* staBufferSize = nullptr;
    QRadioButton* chk8bit_Mono = nullptr;
    QRadioButton* chk8bit_Stereo = nullptr;
    QRadioButton* chk16bit_Mono = nullptr;
    QRadioButton* chk16bit_Stereo = nullptr;
    // " Advanced "
    QSlider* sldSamplingFreq = nullptr;
    QLabel* staSampFText = nullptr;
    QSlider* sldScrollSpeed = nullptr;
    QLabel* staScrollerSpeed = nullptr;
    // "Other"
    QLineEdit* ediVolumeControl = nullptr;
    TNewButton* btnVolumeControlSelected = nullptr;
    QSlider* sldFadeout = nullptr;
    QLabel* staFadeout = nullptr;
    // "Quality"
    QComboBox* cmbInterpolation = nullptr;  // in the order of RenderQuality::kInterpolationTaps
    QSlider* sldStereoSeparation = nullptr;
    QLabel* staStereoSeparation = nullptr;
    QCheckBox* chkAmigaResampler = nullptr;
    QComboBox* cmbVolumeRamping = nullptr;  // "Default", "Off", then 1 to the strongest
    QComboBox* cmbAtTheEnd = nullptr;       // in the order of ClassOptions::SongEnd
    QSpinBox* spnShortestSubsong = nullptr;  // seconds
    QCheckBox* chkEvenLoudness = nullptr;
    QComboBox* cmbLoudnessTarget = nullptr;  // in the order of OptionsTable::kLoudnessTargets
    // "Other", below its groups: the desktop's side
    QCheckBox* chkNotify = nullptr;
    QCheckBox* chkResume = nullptr;
    // "User Actions #1" to "User Action #3"
    std::array<UserAction, 3> userActions{};  // action n at n - 1
    QFrame* panButtom = nullptr;
    TNewButton* btnOK = nullptr;
    TNewButton* btnCancel = nullptr;

    /// The output mode radio buttons in the order of the modes' numbers (0 to 3).
    std::array<QRadioButton*, 4> outputModes() const;
};

/// How many positions a slider, or choices a list, offers for row's option: first to lastOffered.
constexpr std::size_t OfferedPositions(const NumberRow& row)
{
    return static_cast<std::size_t>(row.lastOffered - row.first + 1);
}

/// Gives dialog the form's name, caption, font, frame and fixed client size and creates every
/// control on it, the first page in front.
OptionsForm BuildOptionsForm(QDialog& dialog);
