// skindemo.exe <skin> <view>: a window built only from the skinned toolkit's frame,
// tray icon, pop-up menus and message box, for looking at them (tools/skin-screenshots).
// <skin>: "Default" (the built-in skin) or the path of a skin file; <view>: "frame",
// "sysmenu", "traymenu" or "message".
#include <windows.h>

#include "framework/rtl/WinText.h"
#include "framework/ui/Actions.h"
#include "framework/ui/Application.h"
#include "framework/ui/SkinData.h"
#include "framework/ui/SkinElementNames.h"
#include "framework/ui/SkinForm.h"
#include "framework/ui/SkinMessage.h"
#include "framework/ui/SkinPopupMenu.h"
#include "framework/ui/TrayIcon.h"

using namespace vp;

namespace {

constexpr UINT kShowView = WM_APP + 1;

class TfrmSkinDemo : public TForm {
    VP_CLASS(TfrmSkinDemo)
public:
    explicit TfrmSkinDemo(TComponent* aOwner) : TForm(aOwner)
    {
        BorderStyle = TBorderStyle::bsSingle;
        Position = TPosition::poScreenCenter;
        SetClientSize(474, 236);
        SetCaption(u"Veilport  1.0.0.1");
        spStoredSkin = new TspCompressedStoredSkin(this);
        LoadBuiltinSkin(*spStoredSkin);
        spSkinData = new TspSkinData(this);
        spSkinData->SetCompressedStoredSkin(spStoredSkin);
        actmgr = new TActionManager(this);
        actStartHide = new TAction(this);
        actStartHide->SetCaption(u"&Hide IP");
        actStartHide->SetActionList(actmgr);
        actAlwaysOnTop = new TAction(this);
        actAlwaysOnTop->SetCaption(u"Always on top");
        actAlwaysOnTop->SetChecked(true);
        actAlwaysOnTop->SetActionList(actmgr);

        pmTray = new TspSkinPopupMenu(this);
        pmTray->SetSkinData(spSkinData);
        AddItem(pmTray->Items(), u"&Open...");
        AddItem(pmTray->Items(), u"")->SetAction(actStartHide);
        AddItem(pmTray->Items(), u"Check IP I&nfo");
        TMenuItem* country = AddItem(pmTray->Items(), u"Choose &IP Country");
        AddItem(country, u"&Auto Selected");
        AddItem(country, u"&United States")->SetChecked(true);
        AddItem(pmTray->Items(), u"-");
        AddItem(pmTray->Items(), u"")->SetAction(actAlwaysOnTop);
        AddItem(pmTray->Items(), u"Update...")->SetEnabled(false);
        AddItem(pmTray->Items(), u"-");
        AddItem(pmTray->Items(), u"&Exit");

        spTrayIcon = new TspTrayIcon(this);
        spTrayIcon->SetHint(u"Shadeway");
        spTrayIcon->SetPopupMenu(pmTray);

        spDynamicSkinForm = new TspDynamicSkinForm(this);
        spDynamicSkinForm->SetSkinData(spSkinData);
        spDynamicSkinForm->SetMaximizeButton(true);
        spDynamicSkinForm->SetRollUpButton(true);
        spDynamicSkinForm->SetSizeable(false);
        spDynamicSkinForm->SetTrayIcon(spTrayIcon);
        spDynamicSkinForm->SetAlwaysShowTrayIcon(true);

        spSkinMessage = new TspSkinMessage(this);
        spSkinMessage->SetSkinData(spSkinData);
    }

    TMenuItem* AddItem(TMenuItem* parent, const String& caption)
    {
        auto* item = new TMenuItem(this);
        item->SetCaption(caption);
        parent->Add(item);
        return item;
    }

    String View;
    TspCompressedStoredSkin* spStoredSkin;
    TspSkinData* spSkinData;
    TActionManager* actmgr;
    TAction* actStartHide;
    TAction* actAlwaysOnTop;
    TspSkinPopupMenu* pmTray;
    TspTrayIcon* spTrayIcon;
    TspDynamicSkinForm* spDynamicSkinForm;
    TspSkinMessage* spSkinMessage;

protected:
    void WndProc(TMessage& message) override
    {
        if (message.Msg == WM_PAINT) {
            PAINTSTRUCT paint;
            HDC dc = BeginPaint(Handle(), &paint);
            PaintClient(dc);
            EndPaint(Handle(), &paint);
            message.Handled = true;
            return;
        }
        if (message.Msg == kShowView) {
            message.Handled = true;
            ShowView();
            return;
        }
        TForm::WndProc(message);
    }

private:
    // Buttons drawn with the painter, so the client area shows the skin too.
    void PaintClient(HDC dc)
    {
        TSkinPainter painter = spSkinData->Painter(CurrentDpi());
        const TSkinElement& button = painter.Element(skin::kButton);
        const TSkinElement& main = painter.Element(skin::kButtonDefault);
        const String captions[] = {u"&Hide IP", u"&Fake Location"};
        for (int i = 0; i < 2; ++i) {
            RECT rect{painter.Scale(8 + 130 * i), painter.Scale(186), painter.Scale(8 + 130 * i + 124), painter.Scale(225)};
            painter.DrawElement(dc, rect, i == 0 ? main : button, TSkinState::Normal);
            painter.DrawText(dc, rect, i == 0 ? main : button, TSkinState::Normal, captions[i]);
        }
        const TSkinElement& link = painter.Element(skin::kLinkLabel);
        painter.DrawText(dc, RECT{painter.Scale(414), painter.Scale(205), painter.Scale(470), painter.Scale(225)}, link,
            TSkinState::Normal, u"Options");
    }

    void ShowView()
    {
        RECT rect;
        GetWindowRect(Handle(), &rect);
        if (View == u"sysmenu") {
            // A right click on the caption near the window's right edge. (Wine under Xvfb
            // leaves a menu black that opens wholly inside another window.)
            const TRect caption = spDynamicSkinForm->Layout().CaptionRect();
            SendMessageW(Handle(), WM_NCRBUTTONUP, HTCAPTION,
                MAKELPARAM(rect.left + caption.Right - 60, rect.top + (caption.Top + caption.Bottom) / 2));
        } else if (View == u"traymenu") {
            spTrayIcon->ShowMenu(POINT{rect.right, rect.bottom + 250});
        } else if (View == u"message") {
            spSkinMessage->SetShowAgainCheckBox(true);
            spSkinMessage->MessageDlg(u"Veilport keeps running in the notification area. Use its icon there to "
                                      u"open the window again or to exit.",
                u"Veilport", TMsgDlgType::mtInformation, mbOK | mbCancel);
        }
    }
};

const TClassInfo& TfrmSkinDemo::StaticClassInfo()
{
    static const TClassInfo info = TClassBuilder<TfrmSkinDemo, TForm>(u"TfrmSkinDemo").Build();
    return info;
}

} // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc < 3)
        return 2;
    TApplication application;
    auto* form = application.CreateForm<TfrmSkinDemo>();
    const String skinName = FromWStr(argv[1]);
    if (skinName != u"Default") {
        form->spSkinData->LoadFromCompressedFile(skinName);
        form->spSkinData->SetSkinnableForm(!SameText(skinName.substr(skinName.size() > 8 ? skinName.size() - 8 : 0), u".nsf.skn"));
    }
    form->View = FromWStr(argv[2]);
    form->Show();
    PostMessageW(form->Handle(), kShowView, 0, 0);
    application.Run();
    return 0;
}
