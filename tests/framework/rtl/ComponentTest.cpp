#include "framework/rtl/Collection.h"
#include "framework/rtl/Component.h"
#include "framework/rtl/Exceptions.h"

#include <gtest/gtest.h>

using namespace vp;

namespace {

std::vector<String> gLog;

class TColumn : public TCollectionItem {
    VP_CLASS(TColumn)
public:
    using TCollectionItem::TCollectionItem;
    String Caption() const { return FCaption; }
    void SetCaption(const String& v) { FCaption = v; }

private:
    String FCaption;
};

const TClassInfo& TColumn::StaticClassInfo()
{
    static const TClassInfo info =
        TClassBuilder<TColumn, TCollectionItem>(u"TColumn")
            .WideText(u"Caption", u"TCaption", &TColumn::Caption, &TColumn::SetCaption)
            .Build();
    return info;
}

class TWidget : public TComponent {
    VP_CLASS(TWidget)
public:
    explicit TWidget(TComponent* owner, String name = u"") : TComponent(owner) { SetName(name); }
    ~TWidget() override { gLog.push_back(u"destroy " + Name()); }

    String Caption() const { return FCaption; }
    void SetCaption(const String& v) { FCaption = v; }
    String Hint() const { return u"read-only hint"; }
    TStringList* Lines() { return &FLines; }
    TCollection* Columns() const { return &FColumns; }
    TWidget* Buddy() const { return FBuddy; }
    void SetBuddy(TWidget* w) { FBuddy = w; }

    void Loaded() override
    {
        TComponent::Loaded();
        gLog.push_back(u"loaded " + Name());
    }

    std::vector<std::pair<TComponent*, TOperation>> Notes;

protected:
    void Notification(TComponent* c, TOperation op) override { Notes.emplace_back(c, op); }

private:
    String FCaption;
    TStringList FLines;
    mutable TOwnedCollection<TColumn> FColumns;
    TWidget* FBuddy = nullptr;
};

const TClassInfo& TWidget::StaticClassInfo()
{
    static const TClassInfo info =
        TClassBuilder<TWidget, TComponent>(u"TWidget")
            .WideText(u"Caption", u"TCaption", &TWidget::Caption, &TWidget::SetCaption)
            .AnsiText(u"Hint", u"string", &TWidget::Hint)
            .Strings(u"Lines", &TWidget::Lines)
            .Object(u"Columns", u"TCollection", &TWidget::Columns)
            .Object(u"Buddy", u"TWidget", &TWidget::Buddy, &TWidget::SetBuddy)
            .Other(u"Enabled", u"Boolean")
            .Build();
    return info;
}

// Redeclares Caption as narrow text.
class TNarrowWidget : public TWidget {
    VP_CLASS(TNarrowWidget)
public:
    using TWidget::TWidget;
};

const TClassInfo& TNarrowWidget::StaticClassInfo()
{
    static const TClassInfo info =
        TClassBuilder<TNarrowWidget, TWidget>(u"TNarrowWidget")
            .AnsiText(u"caption", u"string", &TWidget::Caption, &TWidget::SetCaption)
            .Build();
    return info;
}

std::vector<String> Names(const TClassInfo& info)
{
    std::vector<String> names;
    for (const TPropInfo* p : info.Properties())
        names.push_back(p->Name);
    return names;
}

} // namespace

TEST(Reflection, PropertiesIncludeAncestorsInNameOrder)
{
    TWidget w(nullptr);
    EXPECT_EQ(w.ClassName(), u"TWidget");
    EXPECT_EQ(Names(w.ClassInfo()),
        (std::vector<String>{
            u"Buddy", u"Caption", u"Columns", u"Enabled", u"Hint", u"Lines", u"Name", u"Tag"}));
    EXPECT_TRUE(w.ClassInfo().InheritsFrom(u"tcomponent"));
    EXPECT_FALSE(w.ClassInfo().InheritsFrom(u"TCollection"));
    EXPECT_EQ(w.ClassInfo().FindProperty(u"name")->TypeName, u"TComponentName");
}

TEST(Reflection, RedeclaredPropertyReplacesTheAncestors)
{
    TNarrowWidget w(nullptr, u"n");
    const TPropInfo* caption = w.ClassInfo().FindProperty(u"Caption");
    ASSERT_NE(caption, nullptr);
    EXPECT_EQ(caption->Kind, TPropKind::AnsiText);
    EXPECT_EQ(Names(w.ClassInfo()).size(), 8u);
    caption->SetText(w, u"through the table");
    EXPECT_EQ(w.Caption(), u"through the table");
}

TEST(Reflection, TextReadersAndWriters)
{
    TWidget w(nullptr, u"btnOK");
    const TClassInfo& info = w.ClassInfo();
    info.FindProperty(u"Caption")->SetText(w, u"OK");
    EXPECT_EQ(info.FindProperty(u"Caption")->GetText(w), u"OK");
    info.FindProperty(u"Name")->SetText(w, u"btnCancel");
    EXPECT_EQ(w.Name(), u"btnCancel");

    const TPropInfo* hint = info.FindProperty(u"Hint");
    EXPECT_TRUE(hint->HasReader());
    EXPECT_FALSE(hint->HasWriter());
    EXPECT_THROW(hint->SetText(w, u"x"), EInvalidCast);
    EXPECT_THROW(info.FindProperty(u"Lines")->GetText(w), EInvalidCast);
    EXPECT_THROW(info.FindProperty(u"Enabled")->ReadObject(w), EInvalidCast);
}

TEST(Reflection, StringsChangeThroughTheListWithoutAWriter)
{
    TWidget w(nullptr);
    const TPropInfo* lines = w.ClassInfo().FindProperty(u"Lines");
    EXPECT_FALSE(lines->HasWriter());
    TStringList value;
    value.SetText(u"one\r\ntwo");
    lines->SetStrings(w, value);
    EXPECT_EQ(w.Lines()->Text(), u"one\r\ntwo\r\n");
    EXPECT_EQ(lines->GetStrings(w), w.Lines());
}

TEST(Reflection, ObjectPropertiesCheckTheClassOfWhatTheyGet)
{
    TWidget a(nullptr, u"a");
    TWidget b(nullptr, u"b");
    TComponent plain(nullptr);
    const TPropInfo* buddy = a.ClassInfo().FindProperty(u"Buddy");
    buddy->WriteObject(a, &b);
    EXPECT_EQ(a.Buddy(), &b);
    EXPECT_EQ(buddy->ReadObject(a), &b);
    EXPECT_THROW(buddy->WriteObject(a, &plain), EInvalidCast);
    EXPECT_EQ(a.Buddy(), &b);
    buddy->WriteObject(a, nullptr);
    EXPECT_EQ(a.Buddy(), nullptr);
    auto* columns = dynamic_cast<TCollection*>(a.ClassInfo().FindProperty(u"Columns")->ReadObject(a));
    ASSERT_NE(columns, nullptr);
}

TEST(Components, OwnerDeletesItsComponentsInReverseOrder)
{
    gLog.clear();
    {
        TWidget form(nullptr, u"form");
        new TWidget(&form, u"first");
        auto* second = new TWidget(&form, u"second");
        new TWidget(second, u"nested");
        EXPECT_EQ(form.ComponentCount(), 2);
        EXPECT_EQ(form.FindComponent(u"SECOND"), second);
        EXPECT_EQ(form.FindComponent(u"nested"), nullptr); // owned by second, not by the form
        EXPECT_EQ(form.FindComponent(u""), nullptr);
        EXPECT_THROW(form.Components(2), EListError);
    }
    // A component's own destructor runs before it frees what it owns.
    EXPECT_EQ(
        gLog, (std::vector<String>{u"destroy form", u"destroy second", u"destroy nested", u"destroy first"}));
}

TEST(Components, DeletingAnOwnedComponentRemovesItFromItsOwner)
{
    TWidget form(nullptr, u"form");
    auto* child = new TWidget(&form, u"child");
    delete child;
    EXPECT_EQ(form.ComponentCount(), 0);
    ASSERT_EQ(form.Notes.size(), 2u);
    EXPECT_EQ(form.Notes[0].second, TOperation::Insert);
    EXPECT_EQ(form.Notes[1].second, TOperation::Remove);
}

TEST(Components, FreeNotificationTellsAndForgets)
{
    auto* watcher = new TWidget(nullptr, u"watcher");
    auto* watched = new TWidget(nullptr, u"watched");
    watcher->FreeNotification(watched);
    delete watched;
    ASSERT_EQ(watcher->Notes.size(), 1u);
    EXPECT_EQ(watcher->Notes[0].second, TOperation::Remove);

    // The watcher goes first: the other side must not keep a pointer to it.
    auto* other = new TWidget(nullptr, u"other");
    other->FreeNotification(watcher);
    delete watcher;
    EXPECT_EQ(other->Notes.size(), 1u);
    delete other; // would touch freed memory under the sanitizers if it remembered the watcher

    TWidget a(nullptr), b(nullptr);
    a.FreeNotification(&b);
    a.RemoveFreeNotification(&b);
    {
        TWidget c(nullptr);
        a.FreeNotification(&c);
    }
    EXPECT_EQ(a.Notes.size(), 1u);
}

TEST(Components, LoadedRunsForTheRootThenInCreationOrder)
{
    gLog.clear();
    TWidget form(nullptr, u"form");
    auto* a = new TWidget(&form, u"a");
    new TWidget(a, u"a.inner");
    new TWidget(&form, u"b");
    EXPECT_TRUE(form.IsLoading());
    LoadComponentTree(form);
    EXPECT_EQ(gLog, (std::vector<String>{u"loaded form", u"loaded a", u"loaded a.inner", u"loaded b"}));
    EXPECT_FALSE(a->IsLoading());
    gLog.clear();
    LoadComponentTree(form); // already loaded: nothing runs twice
    EXPECT_TRUE(gLog.empty());
    form.SetDesigning(true);
    EXPECT_TRUE(a->IsDesigning());
    gLog.clear();
}

TEST(Collections, ItemsKnowTheirIndexAndPublishTheirOwnProperties)
{
    TOwnedCollection<TColumn> columns;
    int changes = 0;
    columns.OnChange = [&] { ++changes; };
    columns.Add()->SetCaption(u"Country");
    columns.Add()->SetCaption(u"Count");
    EXPECT_EQ(columns.Count(), 2);
    EXPECT_EQ(columns.Items(1)->Index(), 1);
    EXPECT_EQ(columns.Items(0)->ClassName(), u"TColumn");
    EXPECT_EQ(columns.Items(1)->ClassInfo().FindProperty(u"caption")->GetText(*columns.Items(1)), u"Count");
    columns.Delete(0);
    EXPECT_EQ(columns.Items(0)->Caption(), u"Count");
    EXPECT_THROW(columns.Items(1), EListError);
    EXPECT_THROW(columns.Delete(-1), EListError);
    EXPECT_EQ(changes, 3);
}
