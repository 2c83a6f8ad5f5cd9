// TspResourceStrData: the skinned toolkit's own texts (message box buttons, the show-again
// choice, the frame's system menu and caption-button hints, edit menus), looked up by name.
// Built-in English texts are there from the start; a language's "SkinRes" section is merged
// over them.
#pragma once

#include "framework/rtl/Component.h"
#include "framework/rtl/StringList.h"

#include <span>

namespace vp {

struct TSkinResourceString {
    const char16_t* Name;
    const char16_t* Text;
};

// The names and built-in texts, in the order a language file lists them.
std::span<const TSkinResourceString> SkinResourceDefaults();

class TspResourceStrData : public TComponent {
    VP_CLASS(TspResourceStrData)
public:
    explicit TspResourceStrData(TComponent* aOwner);

    // The text of that name (without regard to case). A name the table lacks, or whose text a
    // language left empty, gives the built-in text; an unknown name gives "".
    String GetResStr(StringView strName) const;

    // Merges name=value lines: each sets its text (a new name is added); an empty value, a line
    // without a name or without "=" changes nothing.
    void Merge(const TStringList& lines);
    // Back to the built-in texts only (before merging another language).
    void Reset();

    // The table as name=value lines, built-in texts included; a language section can also be
    // read straight into it (an empty value there removes the line, which GetResStr answers with
    // the built-in text). SetResStrs replaces the whole table.
    TStringList* ResStrs() { return &FResStrs; }
    void SetResStrs(const TStringList& lines) { FResStrs = lines; }

private:
    TStringList FResStrs;
};

// The names the toolkit looks up.
namespace skinres {
inline constexpr const char16_t* kOK = u"Button.OK";
inline constexpr const char16_t* kCancel = u"Button.Cancel";
inline constexpr const char16_t* kYes = u"Button.Yes";
inline constexpr const char16_t* kNo = u"Button.No";
inline constexpr const char16_t* kAbort = u"Button.Abort";
inline constexpr const char16_t* kRetry = u"Button.Retry";
inline constexpr const char16_t* kIgnore = u"Button.Ignore";
inline constexpr const char16_t* kAll = u"Button.All";
inline constexpr const char16_t* kNoToAll = u"Button.NoToAll";
inline constexpr const char16_t* kYesToAll = u"Button.YesToAll";
inline constexpr const char16_t* kHelp = u"Button.Help";
inline constexpr const char16_t* kClose = u"Button.Close";
inline constexpr const char16_t* kShowAgain = u"MessageBox.ShowAgain";
inline constexpr const char16_t* kWarning = u"MessageBox.Warning";
inline constexpr const char16_t* kError = u"MessageBox.Error";
inline constexpr const char16_t* kInformation = u"MessageBox.Information";
inline constexpr const char16_t* kConfirmation = u"MessageBox.Confirmation";
inline constexpr const char16_t* kSysRestore = u"SysMenu.Restore";
inline constexpr const char16_t* kSysMinimize = u"SysMenu.Minimize";
inline constexpr const char16_t* kSysMaximize = u"SysMenu.Maximize";
inline constexpr const char16_t* kSysRollUp = u"SysMenu.RollUp";
inline constexpr const char16_t* kSysRollDown = u"SysMenu.RollDown";
inline constexpr const char16_t* kSysMinimizeToTray = u"SysMenu.MinimizeToTray";
inline constexpr const char16_t* kSysClose = u"SysMenu.Close";
inline constexpr const char16_t* kHintClose = u"Hint.Close";
inline constexpr const char16_t* kHintMinimize = u"Hint.Minimize";
inline constexpr const char16_t* kHintMaximize = u"Hint.Maximize";
inline constexpr const char16_t* kHintRestore = u"Hint.Restore";
inline constexpr const char16_t* kHintRollUp = u"Hint.RollUp";
inline constexpr const char16_t* kHintRollDown = u"Hint.RollDown";
inline constexpr const char16_t* kHintSysMenu = u"Hint.SysMenu";
inline constexpr const char16_t* kEditUndo = u"Edit.Undo";
inline constexpr const char16_t* kEditCut = u"Edit.Cut";
inline constexpr const char16_t* kEditCopy = u"Edit.Copy";
inline constexpr const char16_t* kEditPaste = u"Edit.Paste";
inline constexpr const char16_t* kEditDelete = u"Edit.Delete";
inline constexpr const char16_t* kEditSelectAll = u"Edit.SelectAll";
} // namespace skinres

} // namespace vp
