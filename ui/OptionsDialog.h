#pragma once

#include <QDialog>
#include <QString>

#include <functional>

class ClassOptions;
class OptionsTarget;
class QCheckBox;
class QLabel;
class QLineEdit;
class QRadioButton;
class QSlider;
class QTabWidget;
class TNewButton;

/// "Options": the stored options on six pages (" General ", " Advanced ", "Other" and one per
/// user action). Loaded from the store when created; nothing is stored or applied before OK.
/// OK stores the user actions and the volume command, applies scroller speed and fade-out at
/// once, and the sound settings (output mode, mixing frequency, buffer size) with a restart of
/// the audio output only when one of their controls was changed. Cancel, Esc and the close box
/// store and apply nothing.
///
/// Created by its caller with an owner around one modal run (exec(); the result is not needed)
/// and destroyed right after. options and target must outlive the dialog. GUI thread only.
/// Every control has its name as objectName.
class TOptions : public QDialog {
    Q_OBJECT

public:
    TOptions(ClassOptions& options, OptionsTarget& target, QWidget* owner = nullptr);

    /// Asks for a program file and returns its full path, or an empty string when the user
    /// cancelled. dialogName is "opdSelectApp" (user actions) or "opdVolumeControl". By default
    /// a file dialog starting at "/"; replace it to choose without a screen.
    std::function<QString(const QString& dialogName)> ChooseProgramFile;

    /// A sound control (output mode, mixing frequency, buffer size) was changed since opening,
    /// even when it was changed back.
    bool optionsChanged() const { return OptionsChanged; }

    // The handlers of the controls, run by them and callable directly.
    void btnOKClick();
    void btnCancelClick();
    void btnUserAction1Click() { browseUserAction(1); }
    void btnUserAction2Click() { browseUserAction(2); }
    void btnUserAction3Click() { browseUserAction(3); }
    void btnVolumeControlSelectedClick();
    void sldSamplingFreqChange();
    void sldBufferSizeChange();
    void sldScrollSpeedChange();
    void sldFadeoutChange();
    void chk8bit_MonoClick() { OptionsChanged = true; }
    void chk8bit_StereoClick() { OptionsChanged = true; }
    void chk16bit_MonoClick() { OptionsChanged = true; }
    void chk16bit_StereoClick() { OptionsChanged = true; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    /// The controls of one user action page.
    struct UserActionPage {
        QLineEdit* edit = nullptr;
        QCheckBox* sleep = nullptr;
        QCheckBox* close = nullptr;
    };

    void buildGeneralPage();
    void buildAdvancedPage();
    void buildOtherPage();
    /// Builds the page of user action n (1 to 3) with its numbered control names.
    void buildUserActionPage(int n, const char* sheetName, const QString& caption,
                             const char* groupName, const char* hintGroupName,
                             const char* hintLabelName);
    QWidget* addPage(const char* name, const QString& caption);
    void FormCreate();
    void browseUserAction(int n);
    int selectedOutputMode() const;
    QString defaultChooseProgramFile(const QString& dialogName);

    ClassOptions& m_options;
    OptionsTarget& m_target;

    QTabWidget* PageControl1 = nullptr;
    QSlider* sldBufferSize = nullptr;
    QLabel* staBufferSize = nullptr;
    QRadioButton* chk8bit_Mono = nullptr;
    QRadioButton* chk8bit_Stereo = nullptr;
    QRadioButton* chk16bit_Mono = nullptr;
    QRadioButton* chk16bit_Stereo = nullptr;
    QSlider* sldSamplingFreq = nullptr;
    QLabel* staSampFText = nullptr;
    QSlider* sldScrollSpeed = nullptr;
    QLabel* staScrollerSpeed = nullptr;
    QLineEdit* ediVolumeControl = nullptr;
    QSlider* sldFadeout = nullptr;
    QLabel* staFadeout = nullptr;
    UserActionPage m_actions[3];
    TNewButton* btnOK = nullptr;
    TNewButton* btnCancel = nullptr;

    bool OptionsChanged = false;
};
