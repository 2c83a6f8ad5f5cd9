// The elements the toolkit draws, by name, with the element each one falls back to.
#pragma once

#include "framework/rtl/RtlText.h"

#include <span>

namespace vp {

// Which skins must define an element.
enum class TSkinNeed : uint8_t {
    Always, // every skin
    SkinnedFrame, // skins that draw the window frame (".skn" files)
    Optional, // a base or variant that falls back well
};

struct TSkinElementInfo {
    const char16_t* Name;
    const char16_t* Parent; // the element it falls back to, or nullptr
    TSkinNeed Need;
};

std::span<const TSkinElementInfo> SkinElementTable();
// The entry of a known element (without regard to case), or nullptr.
const TSkinElementInfo* FindSkinElement(StringView name);

// Element names as the drawing code uses them.
namespace skin {
inline constexpr const char16_t* kForm = u"Form";
inline constexpr const char16_t* kFormCaption = u"Form.Caption";
inline constexpr const char16_t* kFormCaptionInactive = u"Form.Caption.Inactive";
inline constexpr const char16_t* kFormBorder = u"Form.Border";
inline constexpr const char16_t* kFormBorderInactive = u"Form.Border.Inactive";
inline constexpr const char16_t* kCaptionButton = u"CaptionButton";
inline constexpr const char16_t* kCaptionButtonClose = u"CaptionButton.Close";
inline constexpr const char16_t* kCaptionButtonMinimize = u"CaptionButton.Minimize";
inline constexpr const char16_t* kCaptionButtonMaximize = u"CaptionButton.Maximize";
inline constexpr const char16_t* kCaptionButtonRestore = u"CaptionButton.Restore";
inline constexpr const char16_t* kCaptionButtonRollUp = u"CaptionButton.RollUp";
inline constexpr const char16_t* kCaptionButtonSysMenu = u"CaptionButton.SysMenu";
inline constexpr const char16_t* kButton = u"Button";
inline constexpr const char16_t* kButtonDefault = u"Button.Default";
inline constexpr const char16_t* kPanel = u"Panel";
inline constexpr const char16_t* kPanelFramed = u"Panel.Framed";
inline constexpr const char16_t* kLabel = u"Label";
inline constexpr const char16_t* kLinkLabel = u"LinkLabel";
inline constexpr const char16_t* kCheckBox = u"CheckBox";
inline constexpr const char16_t* kCheckBoxChecked = u"CheckBox.Checked";
inline constexpr const char16_t* kEdit = u"Edit";
inline constexpr const char16_t* kSpinEdit = u"SpinEdit";
inline constexpr const char16_t* kSpinButton = u"SpinButton";
inline constexpr const char16_t* kSpinButtonUp = u"SpinButton.Up";
inline constexpr const char16_t* kSpinButtonDown = u"SpinButton.Down";
inline constexpr const char16_t* kMemo = u"Memo";
inline constexpr const char16_t* kListView = u"ListView";
inline constexpr const char16_t* kListViewItem = u"ListView.Item";
inline constexpr const char16_t* kListViewItemSelected = u"ListView.Item.Selected";
inline constexpr const char16_t* kScrollBarTrack = u"ScrollBar.Track";
inline constexpr const char16_t* kScrollBarThumb = u"ScrollBar.Thumb";
inline constexpr const char16_t* kScrollBarArrow = u"ScrollBar.Arrow";
inline constexpr const char16_t* kScrollBarArrowUp = u"ScrollBar.Arrow.Up";
inline constexpr const char16_t* kScrollBarArrowDown = u"ScrollBar.Arrow.Down";
inline constexpr const char16_t* kScrollBarArrowLeft = u"ScrollBar.Arrow.Left";
inline constexpr const char16_t* kScrollBarArrowRight = u"ScrollBar.Arrow.Right";
inline constexpr const char16_t* kPageFrame = u"PageFrame";
inline constexpr const char16_t* kTab = u"Tab";
inline constexpr const char16_t* kTabActive = u"Tab.Active";
inline constexpr const char16_t* kGauge = u"Gauge";
inline constexpr const char16_t* kGaugeBar = u"Gauge.Bar";
inline constexpr const char16_t* kPopupMenu = u"PopupMenu";
inline constexpr const char16_t* kPopupMenuItem = u"PopupMenu.Item";
inline constexpr const char16_t* kPopupMenuSeparator = u"PopupMenu.Separator";
inline constexpr const char16_t* kPopupMenuCheck = u"PopupMenu.Check";
inline constexpr const char16_t* kMessageBox = u"MessageBox";
inline constexpr const char16_t* kMessageBoxIcon = u"MessageBox.Icon";
inline constexpr const char16_t* kMessageBoxIconWarning = u"MessageBox.Icon.Warning";
inline constexpr const char16_t* kMessageBoxIconError = u"MessageBox.Icon.Error";
inline constexpr const char16_t* kMessageBoxIconInformation = u"MessageBox.Icon.Information";
inline constexpr const char16_t* kMessageBoxIconConfirmation = u"MessageBox.Icon.Confirmation";
inline constexpr const char16_t* kHint = u"Hint";
} // namespace skin

} // namespace vp
