#pragma once

#include "platform/audio/RenderQuality.h"
#include "ui/OptionsForm.h"

#include <QDialog>
#include <QString>

#include <functional>

class ClassOptions;
class OptionsTarget;

/// "Options": the stored options on seven pages (" General ", " Advanced ", "Other", "Quality"
/// and one per user action). Loaded from the store when created; nothing is stored or applied
/// before OK. OK stores the user actions and the volume command, applies scroller speed and
/// fade-out at once, the sound quality and what happens at a song's end at once where they
/// were changed, and the sound settings (output mode, mixing frequency, buffer size) with a restart of
/// the audio output only when one of their controls was changed. Cancel, Esc and the close box
/// store and apply nothing.
///
/// Created by its caller with an owner around one modal run (exec(); the result is not needed)
/// and destroyed right after. options and target must outlive the dialog. GUI thread only.
/// Its controls are those of OptionsForm, each with its name as objectName.
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
    void sldStereoSeparationChange();
    void chk8bit_MonoClick() { OptionsChanged = true; }
    void chk8bit_StereoClick() { OptionsChanged = true; }
    void chk16bit_MonoClick() { OptionsChanged = true; }
    void chk16bit_StereoClick() { OptionsChanged = true; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    void connectControls();
    void FormCreate();
    void browseUserAction(int n);
    int selectedOutputMode() const;
    RenderQuality chosenRenderQuality() const;
    void applyQualityAndSongEnd();
    QString defaultChooseProgramFile(const QString& dialogName);

    ClassOptions& m_options;
    OptionsTarget& m_target;
    OptionsForm m_form;

    bool OptionsChanged = false;
};
