#include "dialogs/DialogLangWindows.h"

#include "dialogs/uChooseIPCountry.h"
#include "dialogs/uSettings.h"

namespace vp {

void RegisterDialogLangWindows(TLangWindowList& list)
{
    list.Add(u"TfrmChooseIPCountry", [] { return std::make_unique<TfrmChooseIPCountry>(nullptr); });
    list.Add(u"TfrmSettings", [] { return std::make_unique<TfrmSettings>(nullptr); });
}

} // namespace vp
