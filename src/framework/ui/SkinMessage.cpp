#include "framework/ui/SkinMessage.h"

#include "framework/ui/SkinData.h"
#include "framework/ui/SkinElementNames.h"
#include "framework/ui/SkinMessageForm.h"

#include <memory>

namespace vp {

const TClassInfo& TspSkinMessage::StaticClassInfo()
{
    static const TClassInfo info =
        TClassBuilder<TspSkinMessage, TComponent>(u"TspSkinMessage")
            .Object(u"SkinData", u"TspSkinData", &TspSkinMessage::SkinData, &TspSkinMessage::SetSkinData)
            .WideText(u"SkinDataName", u"string", &TspSkinMessage::SkinDataName, &TspSkinMessage::SetSkinDataName)
            .WideText(u"ButtonSkinDataName", u"string", &TspSkinMessage::ButtonSkinDataName,
                &TspSkinMessage::SetButtonSkinDataName)
            .WideText(u"MessageLabelSkinDataName", u"string", &TspSkinMessage::MessageLabelSkinDataName,
                &TspSkinMessage::SetMessageLabelSkinDataName)
            .Other(u"ShowAgainCheckBox", u"Boolean")
            .Build();
    return info;
}

TspSkinMessage::TspSkinMessage(TComponent* aOwner)
    : TComponent(aOwner), FSkinDataName(skin::kMessageBox), FButtonSkinDataName(skin::kButton),
      FMessageLabelSkinDataName(skin::kLabel)
{
}

void TspSkinMessage::SetSkinData(TspSkinData* value)
{
    if (FSkinData)
        RemoveFreeNotification(FSkinData);
    FSkinData = value;
    if (FSkinData)
        FreeNotification(FSkinData);
}

void TspSkinMessage::Notification(TComponent* aComponent, TOperation operation)
{
    TComponent::Notification(aComponent, operation);
    if (operation == TOperation::Remove && aComponent == FSkinData)
        FSkinData = nullptr;
}

TModalResult TspSkinMessage::MessageDlg(const String& text, const String& caption, TMsgDlgType dlgType,
    TMsgDlgButtons buttons, TMsgDlgButtons defaultButton)
{
    TspSkinMessageForm::TContent content;
    content.Text = text;
    content.Caption = caption;
    content.DlgType = dlgType;
    content.Buttons = buttons;
    content.DefaultButton = defaultButton;
    content.ShowAgain = FShowAgainCheckBox;
    content.SkinData = FSkinData;
    content.SkinDataName = FSkinDataName;
    content.ButtonSkinDataName = FButtonSkinDataName;
    content.MessageLabelSkinDataName = FMessageLabelSkinDataName;
    FShowAgainChecked = true;
    // A box of its own each time: boxes may open while another one waits (timers run on).
    std::unique_ptr<TspSkinMessageForm> form(NewForm<TspSkinMessageForm>(nullptr, content));
    const TModalResult result = form->ShowModal();
    FShowAgainChecked = form->ShowAgainChecked();
    return result;
}

} // namespace vp
