#include "ui/OptionsPages.h"

#include "settings/OptionsTable.h"
#include "ui/DialogParts.h"
#include "ui/F1Help.h"
#include "ui/OptionsForm.h"
#include "ui/OptionsPageParts.h"

#include <QRadioButton>
#include <QSlider>
#include <QTabWidget>

using namespace OptionsPageParts;

void OptionsPages::addGeneral(OptionsForm& form)
{
    QWidget* page = addPage(*form.PageControl1, "TabSheet1", QStringLiteral(" General "));
    QGroupBox* GroupBox1 = DialogParts::makeGroup(page, "GroupBox1", QStringLiteral("Buffer size"),
                                                  QRect(kGroupLeft, 4, kGroupWidth, 104));
    SetHelpContext(GroupBox1, 100100);
    form.sldBufferSize = makeSlider(GroupBox1, "sldBufferSize", OptionsTable::kPlaybackBuffer);
    form.sldBufferSize->setSingleStep(2);  // arrow keys move two positions (200 ms)
    form.sldBufferSize->setPageStep(2);
    form.staBufferSize = makeValueLabel(GroupBox1, "staBufferSize");
    makeText(GroupBox1, "Label1",
             QStringLiteral("The bigger the Buffer, the less the Music \"hangs\", but the more "
                            "ram is needed."),
             QRect(kInnerLeft, 70, kInnerWidth, 28));

    QGroupBox* GroupBox2 = DialogParts::makeGroup(page, "GroupBox2", QStringLiteral("Output mode"),
                                                  QRect(kGroupLeft, 114, kGroupWidth, 68));
    SetHelpContext(GroupBox2, 100200);
    const int right = kInnerLeft + kInnerWidth / 2;
    form.chk8bit_Mono = makeRadio(GroupBox2, "chk8bit_Mono", QStringLiteral("8 Bit; Mono"),
                                  QPoint(kInnerLeft, 20));
    form.chk8bit_Stereo = makeRadio(GroupBox2, "chk8bit_Stereo", QStringLiteral("8 Bit; Stereo"),
                                    QPoint(kInnerLeft, 42));
    form.chk16bit_Mono = makeRadio(GroupBox2, "chk16bit_Mono", QStringLiteral("16 Bit; Mono"),
                                   QPoint(right, 20));
    form.chk16bit_Stereo = makeRadio(GroupBox2, "chk16bit_Stereo",
                                     QStringLiteral("16 Bit; Stereo"), QPoint(right, 42));
    form.chk16bit_Stereo->setChecked(true);
}
