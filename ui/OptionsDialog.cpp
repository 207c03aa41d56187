#include "ui/OptionsDialog.h"
#include "ui/HelpWindow.h"

#include "platform/ProgramStarter.h"
#include "settings/ClassOptions.h"
#include "ui/DialogParts.h"
#include "ui/FileDialogColumns.h"
#include "ui/HelpContexts.h"
#include "ui/OptionsTarget.h"

#include <QCheckBox>
#include <QFileDialog>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QScreen>
#include <QSlider>
#include <QTabBar>
#include <QTabWidget>

#include <array>

namespace {

using DialogParts::makeButton;
using DialogParts::makeGroup;

// Geometry in pixels of the client area and of a page's content.
constexpr QSize kClientSize(440, 268);
constexpr int kTopPanelHeight = 6;
constexpr int kBottomPanelHeight = 29;
constexpr int kGroupLeft = 4;
constexpr int kGroupWidth = 424;
constexpr int kInnerLeft = 8;
constexpr int kInnerWidth = kGroupWidth - 2 * kInnerLeft;
constexpr int kTabPadding = 6;  // on each side of a tab's caption, where the width allows
constexpr int kSmallestTabFontPixels = 8;

const std::array<const char*, 5> kFrequencyTexts = {
    "Very bad (only noise)", "Bad", "Normal", "High", "Very high (CD-quality)"};
const std::array<const char*, 4> kScrollSpeedTexts = {"Slow (smooth)", "Normal", "Fast",
                                                      "Enterprise"};
constexpr int kBufferPositions = 17;
constexpr int kFadeoutPositions = 30;

// Stored indices outside these ranges open at the fallback.
constexpr int kStoredBufferMax = 20;
constexpr int kBufferFallback = 13;
constexpr int kFadeoutFallback = 10;

const QString kUserActionHint = QStringLiteral(
    "You may specify the current Module by typing %1 anywhere. %1 will insert the current name "
    "and path in short Form (8+3), \"%1\" will do the same with long Filenames.");

QLabel* makeText(QWidget* parent, const char* name, const QString& text, const QRect& place)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(QLatin1String(name));
    label->setWordWrap(true);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setGeometry(place);
    return label;
}

/// A horizontal slider 0..maximum with one tick per position across the top of group, and its
/// value label below it.
QSlider* makeSlider(QGroupBox* group, const char* name, int maximum)
{
    auto* slider = new QSlider(Qt::Horizontal, group);
    slider->setObjectName(QLatin1String(name));
    slider->setRange(0, maximum);
    slider->setTickPosition(QSlider::TicksBelow);
    slider->setTickInterval(1);
    slider->setPageStep(1);
    slider->setGeometry(kInnerLeft, 18, kInnerWidth, 28);
    return slider;
}

QLabel* makeValueLabel(QGroupBox* group, const char* name)
{
    return makeText(group, name, QString(), QRect(kInnerLeft, 48, kInnerWidth, 16));
}

QLineEdit* makeEdit(QGroupBox* group, const char* name)
{
    auto* edit = new QLineEdit(group);
    edit->setObjectName(QLatin1String(name));
    edit->setGeometry(kInnerLeft, 20, kInnerWidth - DialogParts::kButtonWidth - 10, 22);
    return edit;
}

TNewButton* makeBrowseButton(QGroupBox* group, const char* name)
{
    return makeButton(group, name, QStringLiteral("&Browse"),
                      QPoint(kInnerLeft + kInnerWidth - DialogParts::kButtonWidth, 19));
}

QCheckBox* makeCheckBox(QWidget* parent, const char* name, const QString& text, int top)
{
    auto* box = new QCheckBox(text, parent);
    box->setObjectName(QLatin1String(name));
    box->setGeometry(kInnerLeft, top, kInnerWidth, 20);
    return box;
}

QRadioButton* makeRadio(QWidget* parent, const char* name, const QString& text, const QPoint& at)
{
    auto* radio = new QRadioButton(text, parent);
    radio->setObjectName(QLatin1String(name));
    radio->setGeometry(QRect(at, QSize(kInnerWidth / 2, 20)));
    return radio;
}

/// Keeps every tab of pages in sight. Six captions fit the form's width only with narrow tabs,
/// and how narrow depends on the font the desktop has: the tabs get the widest padding that
/// fits, and a smaller font only where even no padding does.
void fitTabs(QTabWidget& pages)
{
    QTabBar* tabs = pages.tabBar();
    tabs->ensurePolished();  // before that, its size does not follow the style sheet
    const auto fits = [&] { return tabs->sizeHint().width() <= pages.width(); };
    for (int padding = kTabPadding; padding >= 0; --padding) {
        tabs->setStyleSheet(QStringLiteral("QTabBar::tab { padding: 3px %1px; }").arg(padding));
        if (fits())
            return;
    }
    QFont font = tabs->font();
    while (!fits() && font.pixelSize() > kSmallestTabFontPixels) {
        font.setPixelSize(font.pixelSize() - 1);
        tabs->setFont(font);
    }
}

QFrame* makePanel(QWidget* parent, const char* name, const QRect& place)
{
    auto* panel = new QFrame(parent);
    panel->setObjectName(QLatin1String(name));
    panel->setGeometry(place);
    return panel;
}

}  // namespace

TOptions::TOptions(ClassOptions& options, OptionsTarget& target, QWidget* owner)
    : QDialog(owner), m_options(options), m_target(target)
{
    DialogParts::setUpDialog(*this, "Options", kClientSize);
    InstallF1Help(this, 100100);
    setWindowTitle(QStringLiteral("Options"));
    ChooseProgramFile = [this](const QString& dialogName) {
        return defaultChooseProgramFile(dialogName);
    };

    makePanel(this, "Panel1", QRect(0, 0, kClientSize.width(), kTopPanelHeight));
    PageControl1 = new QTabWidget(this);
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    PageControl1->setGeometry(0, kTopPanelHeight, kClientSize.width(),
                              kClientSize.height() - kTopPanelHeight - kBottomPanelHeight);
    PageControl1->setUsesScrollButtons(false);  // no arrows hiding pages
    buildGeneralPage();
    buildAdvancedPage();
    buildOtherPage();
    buildUserActionPage(1, "TabSheet2", QStringLiteral("User Actions #1"), "GroupBox4",
                        "GroupBox5", "Label3");
    buildUserActionPage(2, "TabSheet4", QStringLiteral("User Action #2"), "GroupBox8",
                        "GroupBox6", "Label2");
    buildUserActionPage(3, "TabSheet5", QStringLiteral("User Action #3"), "GroupBox9",
                        "GroupBox7", "Label4");
    PageControl1->setCurrentIndex(0);
    fitTabs(*PageControl1);

    QFrame* panButtom = makePanel(this, "panButtom",
                                  QRect(0, kClientSize.height() - kBottomPanelHeight,
                                        kClientSize.width(), kBottomPanelHeight));
    const int cancelLeft = kClientSize.width() - 8 - DialogParts::kButtonWidth;
    btnOK = makeButton(panButtom, "btnOK", QStringLiteral("OK"),
                       QPoint(cancelLeft - 6 - DialogParts::kButtonWidth, 3));
    btnOK->setDefault(true);
    btnCancel = makeButton(panButtom, "btnCancel", QStringLiteral("Cancel"), QPoint(cancelLeft, 3));
    SetHelpContext(btnOK, HelpContexts::kOkButton);
    SetHelpContext(btnCancel, HelpContexts::kCancelButton);
    connect(btnOK, &QPushButton::clicked, this, &TOptions::btnOKClick);
    connect(btnCancel, &QPushButton::clicked, this, &TOptions::btnCancelClick);

    FormCreate();
}

QWidget* TOptions::addPage(const char* name, const QString& caption)
{
    auto* page = new QWidget;
    page->setObjectName(QLatin1String(name));
    PageControl1->addTab(page, caption);
    return page;
}

void TOptions::buildGeneralPage()
{
    QWidget* page = addPage("TabSheet1", QStringLiteral(" General "));
    QGroupBox* GroupBox1 = makeGroup(page, "GroupBox1", QStringLiteral("Buffer size"),
                                     QRect(kGroupLeft, 4, kGroupWidth, 104));
    SetHelpContext(GroupBox1, 100100);
    sldBufferSize = makeSlider(GroupBox1, "sldBufferSize", kBufferPositions);
    sldBufferSize->setSingleStep(2);  // arrow keys move two positions (200 ms)
    sldBufferSize->setPageStep(2);
    staBufferSize = makeValueLabel(GroupBox1, "staBufferSize");
    makeText(GroupBox1, "Label1",
             QStringLiteral("The bigger the Buffer, the less the Music \"hangs\", but the more "
                            "ram is needed."),
             QRect(kInnerLeft, 70, kInnerWidth, 28));
    connect(sldBufferSize, &QSlider::valueChanged, this, &TOptions::sldBufferSizeChange);

    QGroupBox* GroupBox2 = makeGroup(page, "GroupBox2", QStringLiteral("Output mode"),
                                     QRect(kGroupLeft, 114, kGroupWidth, 68));
    SetHelpContext(GroupBox2, 100200);
    const int right = kInnerLeft + kInnerWidth / 2;
    chk8bit_Mono = makeRadio(GroupBox2, "chk8bit_Mono", QStringLiteral("8 Bit; Mono"),
                             QPoint(kInnerLeft, 20));
    chk8bit_Stereo = makeRadio(GroupBox2, "chk8bit_Stereo", QStringLiteral("8 Bit; Stereo"),
                               QPoint(kInnerLeft, 42));
    chk16bit_Mono = makeRadio(GroupBox2, "chk16bit_Mono", QStringLiteral("16 Bit; Mono"),
                              QPoint(right, 20));
    chk16bit_Stereo = makeRadio(GroupBox2, "chk16bit_Stereo", QStringLiteral("16 Bit; Stereo"),
                                QPoint(right, 42));
    chk16bit_Stereo->setChecked(true);
    connect(chk8bit_Mono, &QRadioButton::clicked, this, &TOptions::chk8bit_MonoClick);
    connect(chk8bit_Stereo, &QRadioButton::clicked, this, &TOptions::chk8bit_StereoClick);
    connect(chk16bit_Mono, &QRadioButton::clicked, this, &TOptions::chk16bit_MonoClick);
    connect(chk16bit_Stereo, &QRadioButton::clicked, this, &TOptions::chk16bit_StereoClick);
}

void TOptions::buildAdvancedPage()
{
    QWidget* page = addPage("TabSheet3", QStringLiteral(" Advanced "));
    QGroupBox* GroupBox3 = makeGroup(page, "GroupBox3", QStringLiteral("Mixing Frequency"),
                                     QRect(kGroupLeft, 4, kGroupWidth, 104));
    SetHelpContext(GroupBox3, 100300);
    sldSamplingFreq = makeSlider(GroupBox3, "sldSamplingFreq",
                                 static_cast<int>(kFrequencyTexts.size()) - 1);
    staSampFText = makeValueLabel(GroupBox3, "staSampFText");
    makeText(GroupBox3, "Label6",
             QStringLiteral("The higher the Mixing frequency the better, but the more CPU-time "
                            "is needed."),
             QRect(kInnerLeft, 70, kInnerWidth, 28));
    connect(sldSamplingFreq, &QSlider::valueChanged, this, &TOptions::sldSamplingFreqChange);

    QGroupBox* GroupBox10 = makeGroup(page, "GroupBox10", QStringLiteral("Scroller speed"),
                                      QRect(kGroupLeft, 114, kGroupWidth, 72));
    SetHelpContext(GroupBox10, 100400);
    sldScrollSpeed = makeSlider(GroupBox10, "sldScrollSpeed",
                                static_cast<int>(kScrollSpeedTexts.size()) - 1);
    staScrollerSpeed = makeValueLabel(GroupBox10, "staScrollerSpeed");
    connect(sldScrollSpeed, &QSlider::valueChanged, this, &TOptions::sldScrollSpeedChange);
}

void TOptions::buildOtherPage()
{
    QWidget* page = addPage("TabSheet6", QStringLiteral("Other"));
    QGroupBox* GroupBox12 = makeGroup(
        page, "GroupBox12", QStringLiteral("Program for volume-control (\"Actions\"-\"Volume\")"),
        QRect(kGroupLeft, 4, kGroupWidth, 104));
    SetHelpContext(GroupBox12, 100150);
    ediVolumeControl = makeEdit(GroupBox12, "ediVolumeControl");
    TNewButton* browse = makeBrowseButton(GroupBox12, "btnVolumeControlSelected");
    makeText(GroupBox12, "Label5",
             QStringLiteral("This command will be executed, when you select \"Actions\" - "
                            "\"Volume\". If you want the default volume-control: leave it blank."),
             QRect(kInnerLeft, 50, kInnerWidth, 44));
    connect(browse, &QPushButton::clicked, this, &TOptions::btnVolumeControlSelectedClick);

    QGroupBox* GroupBox11 = makeGroup(page, "GroupBox11", QStringLiteral("Fadeout-Time"),
                                      QRect(kGroupLeft, 114, kGroupWidth, 72));
    SetHelpContext(GroupBox11, 100050);
    sldFadeout = makeSlider(GroupBox11, "sldFadeout", kFadeoutPositions);
    staFadeout = makeValueLabel(GroupBox11, "staFadeout");
    connect(sldFadeout, &QSlider::valueChanged, this, &TOptions::sldFadeoutChange);
}

void TOptions::buildUserActionPage(int n, const char* sheetName, const QString& caption,
                                   const char* groupName, const char* hintGroupName,
                                   const char* hintLabelName)
{
    const auto numbered = [n](const char* stem) { return QByteArray(stem) + QByteArray::number(n); };
    QWidget* page = addPage(sheetName, caption);
    // F10, F11 and F12 run user actions 1 to 3.
    QGroupBox* group = makeGroup(
        page, groupName, QStringLiteral("Execute this Line when selected (F%1)").arg(9 + n),
        QRect(kGroupLeft, 4, kGroupWidth, 100));
    UserActionPage& action = m_actions[n - 1];
    action.edit = makeEdit(group, numbered("ediAction").constData());
    TNewButton* browse = makeBrowseButton(group, numbered("btnUserAction").constData());
    action.sleep = makeCheckBox(group, numbered("chkSleep").constData(),
                                QStringLiteral("Sleep for 1 second before execute"), 50);
    action.close = makeCheckBox(group, numbered("chkClose").constData(),
                                QStringLiteral("Close module before execute"), 72);
    connect(browse, &QPushButton::clicked, this, [this, n] { browseUserAction(n); });
    SetHelpContext(action.edit, 100500);
    SetHelpContext(browse, 100900);
    SetHelpContext(action.sleep, 100600);
    SetHelpContext(action.close, 100700);

    QGroupBox* hint = makeGroup(page, hintGroupName, QStringLiteral("Hint"),
                                QRect(kGroupLeft, 110, kGroupWidth, 76));
    makeText(hint, hintLabelName, kUserActionHint, QRect(kInnerLeft, 18, kInnerWidth, 52));
}

void TOptions::FormCreate()
{
    for (int n = 1; n <= 3; ++n) {
        UserActionPage& action = m_actions[n - 1];
        action.edit->setText(m_options.UserActionPath(n));
        action.sleep->setChecked(m_options.UserActionSleep(n));
        action.close->setChecked(m_options.UserActionCloseMod(n));
    }
    const auto inRange = [](int value, int low, int high, int fallback) {
        return value >= low && value <= high ? value : fallback;
    };
    sldScrollSpeed->setValue(inRange(m_options.ScrollSpeed(), 0, 2, 3));
    sldSamplingFreq->setValue(inRange(m_options.PlaybackFrequency(), 0, 3, 4));
    // 18 to 20 are taken and shown at the slider's end, 17.
    sldBufferSize->setValue(inRange(m_options.PlaybackBuffer(), 0, kStoredBufferMax,
                                    kBufferFallback));
    sldFadeout->setValue(inRange(m_options.Fadeout(), 0, kFadeoutPositions, kFadeoutFallback));
    const std::array<QRadioButton*, 4> modes = {chk8bit_Mono, chk8bit_Stereo, chk16bit_Mono,
                                                chk16bit_Stereo};
    modes[inRange(m_options.PlaybackMode(), 0, 2, 3)]->setChecked(true);
    ediVolumeControl->setText(m_options.VolumeExe());

    // A slider already at its loaded position emits nothing, so the labels are filled here.
    sldSamplingFreqChange();
    sldBufferSizeChange();
    sldScrollSpeedChange();
    sldFadeoutChange();
    OptionsChanged = false;
}

void TOptions::btnOKClick()
{
    for (int n = 1; n <= 3; ++n) {
        const UserActionPage& action = m_actions[n - 1];
        m_options.SetUserActionPath(n, action.edit->text());
        m_options.SetUserActionSleep(n, action.sleep->isChecked());
        m_options.SetUserActionCloseMod(n, action.close->isChecked());
    }
    m_target.ApplyScrollSpeed(sldScrollSpeed->value());
    m_target.SetFadeOutSteps(sldFadeout->value());
    m_options.SetVolumeExe(ediVolumeControl->text());
    if (OptionsChanged) {
        m_target.SetOutputMode(selectedOutputMode());
        m_target.SetMixingRate(sldSamplingFreq->value());
        m_target.SetBufferSize(sldBufferSize->value());
        m_target.RestartAudio();
        m_target.SetStatusText(QStringLiteral("Options changed"));
    }
    accept();
}

void TOptions::btnCancelClick()
{
    reject();
}

void TOptions::btnVolumeControlSelectedClick()
{
    const QString program = ChooseProgramFile(QStringLiteral("opdVolumeControl"));
    if (!program.isEmpty())
        ediVolumeControl->setText(program);
}

void TOptions::browseUserAction(int n)
{
    const QString program = ChooseProgramFile(QStringLiteral("opdSelectApp"));
    // The placeholder makes the action receive the module's path by default; the quotes keep
    // a program path with blanks one word.
    if (!program.isEmpty())
        m_actions[n - 1].edit->setText(CommandLineWord(program) + QStringLiteral(" %1"));
}

void TOptions::sldSamplingFreqChange()
{
    OptionsChanged = true;
    staSampFText->setText(QLatin1String(kFrequencyTexts[sldSamplingFreq->value()]));
}

void TOptions::sldBufferSizeChange()
{
    OptionsChanged = true;
    staBufferSize->setText(
        QStringLiteral("Selected buffer size: %1 ms").arg(sldBufferSize->value() * 100 + 300));
}

void TOptions::sldScrollSpeedChange()
{
    staScrollerSpeed->setText(QLatin1String(kScrollSpeedTexts[sldScrollSpeed->value()]));
}

void TOptions::sldFadeoutChange()
{
    staFadeout->setText(QStringLiteral("Fadeout: %1 ms").arg(sldFadeout->value() * 100));
}

int TOptions::selectedOutputMode() const
{
    if (chk8bit_Mono->isChecked())
        return 0;
    if (chk8bit_Stereo->isChecked())
        return 1;
    return chk16bit_Mono->isChecked() ? 2 : 3;
}

QString TOptions::defaultChooseProgramFile(const QString& dialogName)
{
    QFileDialog dialog(this);
    dialog.setObjectName(dialogName);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    FitFileDialogColumns(dialog);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    // Programs here carry no extension, so both filters show every file.
    dialog.setNameFilters({QStringLiteral("All Programs (*)"), QStringLiteral("All Files (*)")});
    dialog.setDirectory(QStringLiteral("/"));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return QString();
    return dialog.selectedFiles().constFirst();
}

void TOptions::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    // The dialog opens in the middle of the screen, not over its owner.
    if (const QScreen* display = screen())
        move(display->availableGeometry().center() - rect().center());
}
