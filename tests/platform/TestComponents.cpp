#include "TestComponents.h"

KV_IMPLEMENT_CLASS(TTestFont, "TestUnit") {
  b.Prop("Name", &TTestFont::GetName, &TTestFont::SetName);
  b.Prop("Size", &TTestFont::GetSize, &TTestFont::SetSize).Default(8);
  b.Prop("Style", &TTestFont::GetStyle, &TTestFont::SetStyle).Default(TTestStyles{});
}

KV_IMPLEMENT_CLASS(TTestColumn, "TestUnit") {
  b.Prop("Caption", &TTestColumn::GetCaption, &TTestColumn::SetCaption);
  b.Prop("Width", &TTestColumn::GetWidth, &TTestColumn::SetWidth).Default(64);
}

KV_IMPLEMENT_CLASS(TTestItem, "TestUnit") {
  b.Prop("Count", &TTestItem::GetCount, &TTestItem::SetCount).Default(0);
  b.Prop("Big", &TTestItem::GetBig, &TTestItem::SetBig).Default(0);
  b.Prop("Enabled", &TTestItem::GetEnabled, &TTestItem::SetEnabled).Default(true);
  b.Prop("Mode", &TTestItem::GetMode, &TTestItem::SetMode).Default(cmNone);
  b.Prop("Styles", &TTestItem::GetStyles, &TTestItem::SetStyles).Default(TTestStyles{});
  b.Prop("Caption", &TTestItem::GetCaption, &TTestItem::SetCaption).StoredMethod(&TTestItem::IsCaptionStored);
  b.Prop("Accel", &TTestItem::GetAccel, &TTestItem::SetAccel).Default('A');
  b.Prop("Ratio", &TTestItem::GetRatio, &TTestItem::SetRatio);
  b.Prop("Font", &TTestItem::GetFont, &TTestItem::SetFont);
  b.Prop("Lines", &TTestItem::GetLines, &TTestItem::SetLines);
  b.Prop("Columns", &TTestItem::GetColumns, &TTestItem::SetColumns);
  b.Prop("Buddy", &TTestItem::GetBuddy, &TTestItem::SetBuddy);
  b.Prop("OnClick", &TTestItem::OnClick);
  b.Prop("OnKey", &TTestItem::OnKey);
}

KV_IMPLEMENT_CLASS(TTestRoot, "TestUnit") {
  b.Method("ItemClick", &TTestRoot::ItemClick);
  b.Method("ItemKey", &TTestRoot::ItemKey);
  b.Field("ItemA", &TTestRoot::ItemA);
}

void TTestFont::Assign(TPersistent* source) {
  if (auto* f = Cast<TTestFont>(source)) {
    FSize = f->FSize;
    FStyle = f->FStyle;
    FName = f->FName;
    return;
  }
  TPersistent::Assign(source);
}

TTestItem::TTestItem(TComponent* owner)
    : TComponent(owner),
      FFont(new TTestFont),
      FLines(new TStringList),
      FColumns(new TCollection(TTestColumn::StaticClass())) {
  FColumns->SetOwnerPersistent(this);
}

TTestItem::~TTestItem() {
  Destroying();
  delete FFont;
  delete FLines;
  delete FColumns;
}

void TTestItem::SetBuddy(TTestItem* v) {
  FBuddy = v;
  if (v) v->FreeNotification(this);
}

void TTestItem::Notification(TComponent* c, TOperation op) {
  TComponent::Notification(c, op);
  if (op == opRemove && c == FBuddy) FBuddy = nullptr;
}

void TTestItem::GetChildren(const TGetChildProc& proc, TComponent*) {
  for (int i = 0; i < ComponentCount(); ++i) proc(Components(i));
}

void TTestItem::Loaded() {
  TComponent::Loaded();
  ++LoadedCount;
}

void RegisterTestClasses() {
  static bool done = false;
  if (done) return;
  done = true;
  RegisterClasses({TTestItem::StaticClass(), TTestRoot::StaticClass()});
}
