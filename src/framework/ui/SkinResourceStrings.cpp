#include "framework/ui/SkinResourceStrings.h"

namespace vp {

namespace {

using namespace skinres;

const TSkinResourceString kDefaults[] = {
    {kOK, u"&OK"},
    {kCancel, u"&Cancel"},
    {kYes, u"&Yes"},
    {kNo, u"&No"},
    {kAbort, u"&Abort"},
    {kRetry, u"&Retry"},
    {kIgnore, u"&Ignore"},
    {kAll, u"&All"},
    {kNoToAll, u"N&o to All"},
    {kYesToAll, u"Yes to &All"},
    {kHelp, u"&Help"},
    {kClose, u"&Close"},
    {kShowAgain, u"&Show this message again"},
    {kWarning, u"Warning"},
    {kError, u"Error"},
    {kInformation, u"Information"},
    {kConfirmation, u"Confirm"},
    {kSysRestore, u"&Restore"},
    {kSysMinimize, u"Mi&nimize"},
    {kSysMaximize, u"Ma&ximize"},
    {kSysRollUp, u"Roll &up"},
    {kSysRollDown, u"Roll &down"},
    {kSysMinimizeToTray, u"Minimize to &tray"},
    {kSysClose, u"&Close"},
    {kHintClose, u"Close"},
    {kHintMinimize, u"Minimize"},
    {kHintMaximize, u"Maximize"},
    {kHintRestore, u"Restore"},
    {kHintRollUp, u"Roll up"},
    {kHintRollDown, u"Roll down"},
    {kHintSysMenu, u"System menu"},
    {kEditUndo, u"&Undo"},
    {kEditCut, u"Cu&t"},
    {kEditCopy, u"&Copy"},
    {kEditPaste, u"&Paste"},
    {kEditDelete, u"&Delete"},
    {kEditSelectAll, u"Select &All"},
};

String BuiltinText(StringView name)
{
    for (const TSkinResourceString& entry : kDefaults)
        if (SameText(name, entry.Name))
            return entry.Text;
    return String();
}

} // namespace

std::span<const TSkinResourceString> SkinResourceDefaults()
{
    return kDefaults;
}

const TClassInfo& TspResourceStrData::StaticClassInfo()
{
    static const TClassInfo info =
        TClassBuilder<TspResourceStrData, TComponent>(u"TspResourceStrData")
            .Strings(u"ResStrs", &TspResourceStrData::ResStrs, &TspResourceStrData::SetResStrs)
            .Build();
    return info;
}

TspResourceStrData::TspResourceStrData(TComponent* aOwner) : TComponent(aOwner)
{
    Reset();
}

String TspResourceStrData::GetResStr(StringView strName) const
{
    int index = FResStrs.IndexOfName(Trim(strName));
    String text = index >= 0 ? FResStrs.ValueFromIndex(index) : String();
    return text.empty() ? BuiltinText(Trim(strName)) : text;
}

void TspResourceStrData::Merge(const TStringList& lines)
{
    for (const String& line : lines) {
        size_t equals = line.find(u'=');
        if (equals == String::npos)
            continue;
        String name = Trim(StringView(line).substr(0, equals));
        StringView value = StringView(line).substr(equals + 1);
        if (!name.empty() && !value.empty())
            FResStrs.SetValue(name, value);
    }
}

void TspResourceStrData::Reset()
{
    FResStrs.Clear();
    for (const TSkinResourceString& entry : kDefaults)
        FResStrs.Add(String(entry.Name) + u"=" + entry.Text);
}

} // namespace vp
