#pragma once

#include <QSize>

#include <array>

class QCheckBox;
class QComboBox;
class QDialog;
class QFrame;
class QLabel;
class QLineEdit;
class QRadioButton;
class QSlider;
class QTabWidget;
class TNewButton;

/// The controls of the options dialog, as its form lays them out (positions in pixels of a
/// 96 dpi design) with their help contexts: the pages on tabs, OK and Cancel below. Nothing is
/// connected and nothing loaded. The dialog owns them all through Qt parenting; every control
/// has its name as objectName.
struct OptionsForm {
    static constexpr QSize kClientSize{440, 268};
    // The last position of each slider; the first is 0.
    static constexpr int kLastBufferPosition = 17;
    static constexpr int kLastFrequencyPosition = 4;
    static constexpr int kLastScrollSpeedPosition = 3;
    static constexpr int kLastFadeoutPosition = 30;
    static constexpr int kLastStereoSeparationPosition = 200;
    /// The interpolation filters offered, by their taps.
    static constexpr std::array<int, 4> kInterpolationTaps = {1, 2, 4, 8};

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
    QComboBox* cmbInterpolation = nullptr;  // in the order of kInterpolationTaps
    QSlider* sldStereoSeparation = nullptr;
    QLabel* staStereoSeparation = nullptr;
    QCheckBox* chkAmigaResampler = nullptr;
    QComboBox* cmbVolumeRamping = nullptr;  // "Default", "Off", then 1 to 10
    QComboBox* cmbAtTheEnd = nullptr;       // in the order of ClassOptions::SongEnd
    // "User Actions #1" to "User Action #3"
    std::array<UserAction, 3> userActions{};  // action n at n - 1
    QFrame* panButtom = nullptr;
    TNewButton* btnOK = nullptr;
    TNewButton* btnCancel = nullptr;

    /// The output mode radio buttons in the order of the modes' numbers (0 to 3).
    std::array<QRadioButton*, 4> outputModes() const;
};

/// Gives dialog the form's name, caption, font, frame and fixed client size and creates every
/// control on it, the first page in front.
OptionsForm BuildOptionsForm(QDialog& dialog);
