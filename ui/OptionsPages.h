#pragma once

// The pages of the options dialog, one file each. Each adds its page(s) at the end of
// form.PageControl1 and fills in its controls of form; BuildOptionsForm calls them in the
// order of the tabs. GUI thread only.

struct OptionsForm;

namespace OptionsPages {

/// " General ": buffer size and output mode (OptionsGeneralPage.cpp).
void addGeneral(OptionsForm& form);
/// " Advanced ": mixing frequency and scroller speed (OptionsAdvancedPage.cpp).
void addAdvanced(OptionsForm& form);
/// "Other": volume control program, fade-out time, and how the jukebox takes part in the
/// desktop (OptionsOtherPage.cpp).
void addOther(OptionsForm& form);
/// "Quality": how modules sound, and what happens when one ends (OptionsQualityPage.cpp).
void addQuality(OptionsForm& form);
/// One page per user action, 1 to 3 (OptionsUserActionPages.cpp).
void addUserActions(OptionsForm& form);

}  // namespace OptionsPages
