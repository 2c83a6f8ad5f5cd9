#include "framework/ui/SkinElementNames.h"

#include <unordered_map>

namespace vp {

namespace {

using namespace skin;
constexpr TSkinNeed kAlways = TSkinNeed::Always;
constexpr TSkinNeed kFrame = TSkinNeed::SkinnedFrame;
constexpr TSkinNeed kOptional = TSkinNeed::Optional;

// Every window of the program draws from these: frames, dialogs, the main window, the country
// list, the options pages, the update and about boxes, menus, message boxes and hints.
const TSkinElementInfo kElements[] = {
    {kForm, nullptr, kAlways},
    {kFormCaption, nullptr, kFrame},
    {kFormCaptionInactive, kFormCaption, kOptional},
    {kFormBorder, nullptr, kFrame},
    {kFormBorderInactive, kFormBorder, kOptional},
    {kCaptionButton, nullptr, kOptional},
    {kCaptionButtonClose, kCaptionButton, kFrame},
    {kCaptionButtonMinimize, kCaptionButton, kFrame},
    {kCaptionButtonMaximize, kCaptionButton, kFrame},
    {kCaptionButtonRestore, kCaptionButtonMaximize, kOptional},
    {kCaptionButtonRollUp, kCaptionButton, kFrame},
    {kCaptionButtonSysMenu, kCaptionButton, kFrame},
    {kButton, nullptr, kAlways},
    {kButtonDefault, kButton, kAlways},
    {kPanel, nullptr, kAlways},
    {kPanelFramed, kPanel, kAlways},
    {kLabel, nullptr, kAlways},
    {kLinkLabel, kLabel, kAlways},
    {kCheckBox, nullptr, kAlways},
    {kCheckBoxChecked, kCheckBox, kAlways},
    {kEdit, nullptr, kAlways},
    {kSpinEdit, kEdit, kAlways},
    {kSpinButton, nullptr, kOptional},
    {kSpinButtonUp, kSpinButton, kAlways},
    {kSpinButtonDown, kSpinButton, kAlways},
    {kMemo, kEdit, kAlways},
    {kListView, nullptr, kAlways},
    {kListViewItem, nullptr, kAlways},
    {kListViewItemSelected, kListViewItem, kAlways},
    {kScrollBarTrack, nullptr, kAlways},
    {kScrollBarThumb, nullptr, kAlways},
    {kScrollBarArrow, nullptr, kOptional},
    {kScrollBarArrowUp, kScrollBarArrow, kAlways},
    {kScrollBarArrowDown, kScrollBarArrow, kAlways},
    {kScrollBarArrowLeft, kScrollBarArrow, kAlways},
    {kScrollBarArrowRight, kScrollBarArrow, kAlways},
    {kPageFrame, kPanel, kAlways},
    {kTab, nullptr, kAlways},
    {kTabActive, kTab, kAlways},
    {kGauge, nullptr, kAlways},
    {kGaugeBar, nullptr, kAlways},
    {kPopupMenu, nullptr, kAlways},
    {kPopupMenuItem, nullptr, kAlways},
    {kPopupMenuSeparator, nullptr, kAlways},
    {kPopupMenuCheck, nullptr, kAlways},
    {kMessageBox, kForm, kAlways},
    {kMessageBoxIcon, nullptr, kOptional},
    {kMessageBoxIconWarning, kMessageBoxIcon, kAlways},
    {kMessageBoxIconError, kMessageBoxIcon, kAlways},
    {kMessageBoxIconInformation, kMessageBoxIcon, kAlways},
    {kMessageBoxIconConfirmation, kMessageBoxIcon, kAlways},
    {kHint, nullptr, kAlways},
};

} // namespace

std::span<const TSkinElementInfo> SkinElementTable()
{
    return kElements;
}

const TSkinElementInfo* FindSkinElement(StringView name)
{
    static const std::unordered_map<String, const TSkinElementInfo*> index = [] {
        std::unordered_map<String, const TSkinElementInfo*> byName;
        for (const TSkinElementInfo& info : kElements)
            byName.emplace(UpperCase(info.Name), &info);
        return byName;
    }();
    auto it = index.find(UpperCase(name));
    return it == index.end() ? nullptr : it->second;
}

} // namespace vp
