#include "DBCtrls.h"

#include <cstring>

#include "Messages.h"

// What a data-aware control shows is the record's: the inherited properties that hold it are
// read (old form files may carry them) but never written.
KV_IMPLEMENT_CLASS(TDBEdit, "DBCtrls") {
  b.Prop("Text", &TControl::GetText, &TControl::SetText).Type(TypeInfoTCaption()).Stored(false);
  PublishDataLink(b);
  b.Prop("ReadOnly", &TDBEdit::GetReadOnly, &TDBEdit::SetReadOnly).Default(false);
}
KV_IMPLEMENT_CLASS(TDBText, "DBCtrls") {
  PublishControlProperties(b, {"Align", "Anchors"});
  b.Prop("Alignment", &TCustomLabel::GetAlignment, &TCustomLabel::SetAlignment).Default(taLeftJustify);
  b.Prop("AutoSize", &TCustomLabel::GetAutoSize, &TCustomLabel::SetAutoSize).Default(false);
  PublishControlProperties(b, {"Color", "DragCursor", "DragMode", "Enabled", "Font", "ParentColor", "ParentFont",
                               "ParentShowHint", "ShowHint"});
  PublishDataLink(b);
  b.Prop("Transparent", &TCustomLabel::GetTransparent, &TCustomLabel::SetTransparent).Default(false);
  b.Prop("WordWrap", &TCustomLabel::GetWordWrap, &TCustomLabel::SetWordWrap).Default(false);
  PublishControlProperties(b, {"Visible", "OnClick", "OnDblClick", "OnDragDrop", "OnDragOver", "OnEndDrag",
                               "OnMouseDown", "OnMouseMove", "OnMouseUp", "OnStartDrag"});
}
KV_IMPLEMENT_CLASS(TDBMemo, "DBCtrls") {
  b.Prop("Lines", &TCustomMemo::GetLines, &TCustomMemo::SetLines).Stored(false);
  PublishDataLink(b);
  b.Prop("ReadOnly", &TDBMemo::GetReadOnly, &TDBMemo::SetReadOnly).Default(false);
}
KV_IMPLEMENT_CLASS(TDBCheckBox, "DBCtrls") {
  b.Prop("State", &TCustomCheckBox::GetState, &TCustomCheckBox::SetState).Default(cbUnchecked).Stored(false);
  PublishDataLink(b);
  b.Prop("ReadOnly", &TDBCheckBox::GetReadOnly, &TDBCheckBox::SetReadOnly).Default(false);
  b.Prop("ValueChecked", &TDBCheckBox::GetValueChecked, &TDBCheckBox::SetValueChecked)
      .StoredMethod(&TDBCheckBox::IsValueCheckedStored, false);
  b.Prop("ValueUnchecked", &TDBCheckBox::GetValueUnchecked, &TDBCheckBox::SetValueUnchecked)
      .StoredMethod(&TDBCheckBox::IsValueUncheckedStored, false);
}
KV_IMPLEMENT_CLASS(TDBComboBox, "DBCtrls") {
  b.Prop("ItemIndex", &TCustomComboBox::GetItemIndex, &TCustomComboBox::SetItemIndex).Default(-1).Stored(false);
  b.Prop("Text", &TControl::GetText, &TControl::SetText).Type(TypeInfoTCaption()).Stored(false);
  PublishDataLink(b);
  b.Prop("ReadOnly", &TDBComboBox::GetReadOnly, &TDBComboBox::SetReadOnly).Default(false);
}
KV_IMPLEMENT_CLASS(TDBListBox, "DBCtrls") {
  b.Prop("ItemIndex", &TCustomListBox::GetItemIndex, &TCustomListBox::SetItemIndex).Default(-1).Stored(false);
  PublishDataLink(b);
  b.Prop("ReadOnly", &TDBListBox::GetReadOnly, &TDBListBox::SetReadOnly).Default(false);
}
KV_IMPLEMENT_CLASS(TDBImage, "DBCtrls") {
  PublishControlProperties(b, {"Align", "Anchors"});
  b.Prop("BorderStyle", &TDBImage::GetBorderStyle, &TDBImage::SetBorderStyle)
      .Type(TypeInfoTBorderStyle())
      .Default(bsSingle);
  b.Prop("Center", &TDBImage::GetCenter, &TDBImage::SetCenter).Default(true);
  PublishControlProperties(b, {"Color", "Ctl3D", "DragCursor", "DragMode", "Enabled", "Font"});
  PublishDataLink(b);
  PublishControlProperties(b, {"ParentColor", "ParentCtl3D", "ParentFont", "ParentShowHint", "PopupMenu"});
  b.Prop("ReadOnly", &TDBImage::GetReadOnly, &TDBImage::SetReadOnly).Default(false);
  PublishControlProperties(b, {"ShowHint"});
  b.Prop("Stretch", &TDBImage::GetStretch, &TDBImage::SetStretch).Default(false);
  PublishControlProperties(
      b, {"TabOrder", "TabStop", "Visible", "OnClick", "OnDblClick", "OnDragDrop", "OnDragOver", "OnEndDrag", "OnEnter",
          "OnExit", "OnKeyDown", "OnKeyPress", "OnKeyUp", "OnMouseDown", "OnMouseMove", "OnMouseUp", "OnStartDrag"});
}

// ---------------------------------------------------------------------------------------------
// TDataAware

TDataAware::TDataAware(TControl* control, std::function<void()> dataChange, std::function<void()> updateData,
                       std::function<void()> editingChange)
    : FControl(control), FDataChange(dataChange) {
  FLink.Control = control;
  FLink.OnDataChange = [f = std::move(dataChange)](TObject*) { f(); };
  FLink.OnUpdateData = [f = std::move(updateData)](TObject*) { f(); };
  if (editingChange) FLink.OnEditingChange = [f = std::move(editingChange)](TObject*) { f(); };
}

void TDataAware::SetDataField(const std::string& v) {
  FLink.SetFieldName(v);
  RefreshWhileDesigning();
}

void TDataAware::SetDataSource(TDataSource* v) {
  FLink.SetDataSource(v);
  RefreshWhileDesigning();
}

void TDataAware::RefreshWhileDesigning() {
  if (FControl->InState(csDesigning) && !FControl->InState(csLoading)) FDataChange();
}

std::string TDataAware::FieldText(bool forEditing) const {
  if (TField* f = FLink.Field()) return forEditing ? f->GetText() : f->GetDisplayText();
  return FControl->InState(csDesigning) ? FControl->GetName() : "";
}

// ---------------------------------------------------------------------------------------------
// TDBEdit

TDBEdit::TDBEdit(TComponent* AOwner)
    : TEdit(AOwner),
      TDataAware(
          this, [this] { DataChange(); }, [this] { UpdateData(); }, [this] { EditingChange(); }) {}

void TDBEdit::SetReadOnly(bool v) {
  FLink.SetReadOnly(v);
  EditingChange();
}

void TDBEdit::DataChange() {
  TField* f = Field();
  if (f && f->GetSize() > 0 && f->GetDataType() == ftString) SetMaxLength(f->GetSize());
  SetText(FieldText(FFocused && FLink.CanModify()));
  SetModified(false);
}

void TDBEdit::UpdateData() { Field()->SetText(GetText()); }

// The edit is writable only while the record is being edited (typing starts the edit).
void TDBEdit::EditingChange() { TCustomEdit::SetReadOnly(FLink.GetReadOnly() || (Field() && !FLink.CanModify())); }

void TDBEdit::Change() {
  FLink.Modified();
  TEdit::Change();
}

void TDBEdit::KeyPress(char& key) {
  TEdit::KeyPress(key);
  if (key == 27) {
    FLink.Reset();
    SelectAll();
    key = 0;
  } else if ((static_cast<unsigned char>(key) >= ' ' || key == 8) && !FLink.Edit()) {
    key = 0;  // the record cannot be edited: the keystroke changes nothing
  }
}

void TDBEdit::KeyDown(uint16_t& key, TShiftState shift) {
  TEdit::KeyDown(key, shift);
  if ((key == VK_DELETE || (key == VK_INSERT && shift.Contains(ssShift))) && !FLink.Edit()) key = 0;
}

void TDBEdit::DoEnter() {
  FFocused = true;
  if (Field() && FLink.CanModify()) SetText(FieldText(true));
  TEdit::DoEnter();
}

// Leaving the control writes what was typed into the record; a refused value keeps the focus.
void TDBEdit::DoExit() {
  try {
    FLink.UpdateRecord();
  } catch (...) {
    SelectAll();
    SetFocus();
    throw;
  }
  FFocused = false;
  if (Field()) SetText(FieldText(false));
  TEdit::DoExit();
}

// ---------------------------------------------------------------------------------------------
// TDBText

TDBText::TDBText(TComponent* AOwner)
    : TCustomLabel(AOwner),
      TDataAware(
          this, [this] { DataChange(); }, [] {}) {
  SetAutoSize(false);
  SetShowAccelChar(false);
}

void TDBText::DataChange() { SetCaption(FieldText(false)); }

// ---------------------------------------------------------------------------------------------
// TDBMemo

TDBMemo::TDBMemo(TComponent* AOwner)
    : TMemo(AOwner),
      TDataAware(
          this, [this] { DataChange(); }, [this] { UpdateData(); }, [this] { EditingChange(); }) {}

void TDBMemo::SetReadOnly(bool v) {
  FLink.SetReadOnly(v);
  EditingChange();
}

void TDBMemo::DataChange() {
  TField* f = Field();
  SetText(f ? (f->IsBlob() ? f->GetAsString() : f->GetText()) : FieldText(false));
  SetModified(false);
}

void TDBMemo::UpdateData() { Field()->SetAsString(GetText()); }

void TDBMemo::EditingChange() { TCustomEdit::SetReadOnly(FLink.GetReadOnly() || (Field() && !FLink.CanModify())); }

void TDBMemo::Change() {
  FLink.Modified();
  TMemo::Change();
}

void TDBMemo::KeyPress(char& key) {
  TMemo::KeyPress(key);
  if (key == 27) FLink.Reset();
  else if ((static_cast<unsigned char>(key) >= ' ' || key == 8 || key == 13) && !FLink.Edit()) key = 0;
}

void TDBMemo::DoExit() {
  FLink.UpdateRecord();
  TMemo::DoExit();
}

// ---------------------------------------------------------------------------------------------
// TDBCheckBox

TDBCheckBox::TDBCheckBox(TComponent* AOwner)
    : TCheckBox(AOwner),
      TDataAware(
          this, [this] { DataChange(); }, [this] { UpdateData(); }) {
  SetState(cbUnchecked);
}

void TDBCheckBox::SetValueChecked(const std::string& v) {
  FValueChecked = v;
  DataChange();
}

void TDBCheckBox::SetValueUnchecked(const std::string& v) {
  FValueUnchecked = v;
  DataChange();
}

namespace {
// ValueChecked and ValueUnchecked may list alternatives separated by semicolons.
bool MatchesOneOf(const std::string& text, const std::string& values) {
  size_t start = 0;
  for (;;) {
    size_t semi = values.find(';', start);
    if (SameText(Trim(std::string_view(values).substr(start, semi - start)), text)) return true;
    if (semi == std::string::npos) return false;
    start = semi + 1;
  }
}
std::string FirstOf(const std::string& values) { return Trim(values.substr(0, values.find(';'))); }
}  // namespace

TCheckBoxState TDBCheckBox::FieldState() const {
  TField* f = Field();
  if (!f || f->IsNull()) return cbGrayed;
  if (f->GetDataType() == ftBoolean) return f->GetAsBoolean() ? cbChecked : cbUnchecked;
  std::string text = f->GetText();
  if (MatchesOneOf(text, FValueChecked)) return cbChecked;
  if (MatchesOneOf(text, FValueUnchecked)) return cbUnchecked;
  return cbGrayed;
}

void TDBCheckBox::DataChange() { SetState(Field() ? FieldState() : cbUnchecked); }

void TDBCheckBox::UpdateData() {
  TField* f = Field();
  if (GetState() == cbGrayed) f->Clear();
  else if (f->GetDataType() == ftBoolean) f->SetAsBoolean(GetChecked());
  else f->SetText(FirstOf(GetChecked() ? FValueChecked : FValueUnchecked));
}

void TDBCheckBox::Toggle() {
  if (!FLink.Edit()) return;
  TCheckBox::Toggle();
  FLink.Modified();
  FLink.UpdateRecord();
}

// ---------------------------------------------------------------------------------------------
// TDBComboBox and TDBListBox

TDBComboBox::TDBComboBox(TComponent* AOwner)
    : TComboBox(AOwner),
      TDataAware(
          this, [this] { DataChange(); }, [this] { UpdateData(); }) {}

void TDBComboBox::DataChange() {
  std::string text = FieldText(false);
  int i = GetItems()->IndexOf(text);
  if (GetStyle() == csDropDownList) SetItemIndex(i);
  else SetText(text);
}

void TDBComboBox::UpdateData() { Field()->SetText(GetText()); }

void TDBComboBox::Change() {
  if (FLink.Edit()) FLink.Modified();
  TComboBox::Change();
}

void TDBComboBox::DoExit() {
  FLink.UpdateRecord();
  TComboBox::DoExit();
}

TDBListBox::TDBListBox(TComponent* AOwner)
    : TListBox(AOwner),
      TDataAware(
          this, [this] { DataChange(); }, [this] { UpdateData(); }) {}

void TDBListBox::DataChange() { SetItemIndex(Field() ? GetItems()->IndexOf(Field()->GetText()) : -1); }

void TDBListBox::UpdateData() {
  int i = GetItemIndex();
  if (i >= 0) Field()->SetText(GetItems()->Get(i));
}

void TDBListBox::Click() {
  if (FLink.Edit()) {
    FLink.Modified();
    FLink.UpdateRecord();
  } else {
    DataChange();  // not editable: the selection goes back to the field's value
  }
  TListBox::Click();
}

// ---------------------------------------------------------------------------------------------
// TDBImage

TDBImage::TDBImage(TComponent* AOwner)
    : TCustomControl(AOwner),
      TDataAware(
          this, [this] { DataChange(); }, [] {}),
      FPicture(new TPicture) {
  SetBounds(GetLeft(), GetTop(), 105, 105);
  SetTabStop(true);
  FPicture->OnChange = [this](TObject*) { Invalidate(); };
}

TDBImage::~TDBImage() {
  Destroying();
  delete FPicture;
}

void TDBImage::SetStretch(bool v) {
  FStretch = v;
  Invalidate();
}

void TDBImage::SetCenter(bool v) {
  FCenter = v;
  Invalidate();
}

void TDBImage::SetBorderStyle(TBorderStyle v) {
  FBorderStyle = v;
  Invalidate();
}

void TDBImage::DataChange() {
  FPictureLoaded = false;
  LoadPicture();
}

namespace {

// The graphic class for the bytes of an image blob, by their signature.
TGraphic* NewGraphicFor(const std::string& bytes) {
  auto starts = [&](const char* sig, size_t n) { return bytes.size() >= n && std::memcmp(bytes.data(), sig, n) == 0; };
  if (starts("BM", 2)) return new TBitmap;
  if (starts("\x00\x00\x01\x00", 4)) return new TIcon;
  if (starts("\x89PNG", 4)) return new TPngImage;
  if (starts("\xFF\xD8", 2)) return new TJPEGImage;
  if (starts("GIF8", 4)) return new TGIFImage;
  return nullptr;
}

}  // namespace

void TDBImage::LoadPicture() {
  if (FPictureLoaded) return;
  FPictureLoaded = true;
  TField* f = Field();
  if (!f || f->IsNull()) return FPicture->Assign(nullptr);
  std::string bytes = f->GetAsString();
  // Graphic fields written by Delphi's BDE carry an 8-byte header (count, type, size).
  if (bytes.size() > 8 && bytes.compare(0, 4, std::string("\x01\x00\x00\x01", 4)) == 0) bytes.erase(0, 8);
  std::unique_ptr<TGraphic> g(NewGraphicFor(bytes));
  if (!g) return FPicture->Assign(nullptr);
  TMemoryStream s;
  s.Write(bytes.data(), static_cast<int64_t>(bytes.size()));
  s.SetPosition(0);
  try {
    g->LoadFromStream(&s);
  } catch (const Exception&) {
    return FPicture->Assign(nullptr);  // unreadable bytes show as no picture
  }
  FPicture->SetGraphic(g.get());
}

void TDBImage::Paint() {
  TCanvas* c = Canvas();
  TRect r = GetClientRect();
  c->GetBrush()->SetColor(GetColor());
  c->FillRect(r);
  if (FBorderStyle == bsSingle) {
    c->GetPen()->SetColor(clBtnShadow);
    c->GetBrush()->SetStyle(bsClear);
    c->Rectangle(r.Left, r.Top, r.Right, r.Bottom);
    InflateRect(r, -1, -1);
  }
  if (!FPicture->GetGraphic()) {
    // While designing, an image with no picture to show names itself; one with a picture
    // shows it, as the other data controls show their data.
    if (InState(csDesigning)) c->TextOut(r.Left + 2, r.Top + 2, "(" + GetName() + ")");
    return;
  }
  int w = FPicture->GetWidth(), h = FPicture->GetHeight();
  TRect dest = FStretch ? r : Bounds(r.Left, r.Top, w, h);
  if (!FStretch && FCenter) OffsetRect(dest, (r.Width() - w) / 2, (r.Height() - h) / 2);
  c->StretchDraw(dest, FPicture->GetGraphic());
}

void RegisterDBCtrlsClasses() {
  RegisterClasses({TDBEdit::StaticClass(), TDBText::StaticClass(), TDBMemo::StaticClass(), TDBCheckBox::StaticClass(),
                   TDBComboBox::StaticClass(), TDBListBox::StaticClass(), TDBImage::StaticClass(),
                   TDBNavigator::StaticClass(), TDBRadioGroup::StaticClass(), TDBLookupComboBox::StaticClass()});
}
