// KvObjIns: the in-place value editors of the inspector window: the choice of edit box,
// drop-down list or dialog button for the current row, when typed values are committed, the
// drop-down values, the dialog and the keyboard.
#include "KvObjIns.h"

#include "SysUtils.h"
#include "TypInfo.h"

void TfmKvObjIns::SelectRow(int row) {
  if (row == FRow) return;
  FRow = row;
  FShowEdit = FShowButton = FShowList = false;
  if (row >= 0 && row < PropertyGrid->GetRowCount()) {
    NamePanel->SetCaption(PropertyGrid->Cells(0, row));
    ValuePanel->SetCaption(PropertyGrid->Cells(1, row));
  }
  FReady = false;
  // A text refused on the previous row is not this row's change.
  FDirty = false;
  if (!DesignerGone() && FEditors && row >= 0 && row < FEditors->Count()) {
    TPropertyEditor* editor = FEditors->Editor(row);
    const TPropertyAttributes attrs = editor->GetAttributes();
    const TTypeKind kind = editor->GetPropType()->Kind;
    if (attrs.Contains(paValueList)) {
      FShowList = true;
      FValueText = GetRowValue(row, true);
      ValueList->SetText(FValueText);
    } else {
      FShowButton = attrs.Contains(paDialog);
      FShowEdit = true;
      FValueText = GetRowValue(row, true);
      ValueEdit->SetText(FValueText);
      ValueEdit->SetReadOnly(attrs.Contains(paReadOnly) || kind == tkClass);
    }
  }
  ValueEdit->SetVisible(FShowEdit);
  EditButton->SetVisible(FShowButton);
  ValueList->SetVisible(FShowList);
  const bool grid = FShowEdit || FShowList;
  for (TControl* c : std::initializer_list<TControl*>{PropertyGrid, SeperatorPanel, NamePanel, ValuePanel})
    c->SetVisible(grid);
  for (TPanel* p : {NamePanel, ValuePanel}) p->SetBevelOuter(grid ? bvLowered : bvNone);
  FReady = true;
}

std::string TfmKvObjIns::GetRowValue(int row, bool forEdit) { return FEditors->Value(row, forEdit); }

std::string TfmKvObjIns::SetRowValue(int row, const std::string& text) {
  // Without a live designer the editors' designer may be gone: nothing is set through them.
  if (DesignerGone() || !FEditors || row < 0 || row >= FEditors->Count()) return FValueText;
  {
    // A committed value is one undo step over the components the inspector shows.
    TComponentList shown;
    Engine()->GetSelections(&shown);
    // The keystrokes of one value are one step.
    std::vector<TComponent*> affected;
    for (int i = 0; i < shown.Count(); ++i) affected.push_back(shown.Items(i));
    TPropertyEditor* editor = FEditors->Editor(row);
    const bool rename = SameText(editor->GetName(), "Name");
    TKUndoScope undo(Engine(), rename ? "Rename" : "Change", affected, true, "Inspector " + editor->GetName());
    editor->SetValue(text);
  }
  // Setting a value may have taken the rows away (renaming or changing the selection).
  if (row >= FEditors->Count()) return text;
  std::string value = GetRowValue(row, false);
  PropertyGrid->SetCells(1, row, value);
  return value;
}

bool TfmKvObjIns::IsStringKind(int row) const {
  if (!FEditors || row < 0 || row >= FEditors->Count()) return false;
  switch (FEditors->Editor(row)->GetPropType()->Kind) {
    case tkChar:
    case tkString:
    case tkWChar:
    case tkLString: return true;
    default: return false;
  }
}

void TfmKvObjIns::ValueEditChanged(TObject*) {
  if (!FReady || !FShowEdit || ValueEdit->GetReadOnly()) return;
  FDirty = true;
  if (IsStringKind(PropertyGrid->GetRow())) {
    FValueText = SetRowValue(PropertyGrid->GetRow(), ValueEdit->GetText());
    FDirty = false;
  }
}

// Commits the editor's text when it was changed; a refused text leaves everything as it was,
// so that leaving the editor again retries.
void TfmKvObjIns::CommitEditor(TWinControl* editor, bool shown) {
  if (!FReady || !shown) return;
  const std::string text = editor->GetText();
  if (!FDirty && CompareText(text, FValueText) == 0) return;
  FValueText = SetRowValue(PropertyGrid->GetRow(), text);
  editor->SetText(FValueText);
  FDirty = false;
}

void TfmKvObjIns::ValueEditExit(TObject*) { CommitEditor(ValueEdit, FShowEdit); }

void TfmKvObjIns::ValueListExit(TObject*) { CommitEditor(ValueList, FShowList); }

void TfmKvObjIns::ValueListChange(TObject*) {
  if (FReady && FShowList) FDirty = true;
}

void TfmKvObjIns::ValueListClick(TObject* sender) { ValueListExit(sender); }

void TfmKvObjIns::ValueListDropDown(TObject*) { FillValueList(ValueList, PropertyGrid->GetRow()); }

void TfmKvObjIns::FillValueList(TComboBox* target, int row) {
  FValueTarget = target;
  TStrings* items = target->GetItems();
  items->BeginUpdate();
  items->Clear();
  if (FEditors && row >= 0 && row < FEditors->Count() && !DesignerGone()) {
    TPropertyEditor* editor = FEditors->Editor(row);
    editor->GetValues([this](const std::string& s) { FValueTarget->GetItems()->Add(s); });
    items->EndUpdate();
    const std::string value = editor->GetValue();
    target->SetText(value);
    const int index = items->IndexOf(value);
    if (index >= 0) target->SetItemIndex(index);
  } else {
    items->EndUpdate();
  }
  target->SetVisible(true);
}

void TfmKvObjIns::EditButtonClick(TObject*) {
  const int row = PropertyGrid->GetRow();
  if (DesignerGone() || !FEditors || row < 0 || row >= FEditors->Count()) return;
  FEditors->Editor(row)->Edit();
  FRow = -1;
  SelectRow(PropertyGrid->GetRow());
}

void TfmKvObjIns::ValueEditKeyDown(TObject*, uint16_t& key, TShiftState) {
  HandleEditorKey(key, &TfmKvObjIns::ValueEditExit);
}

void TfmKvObjIns::ValueListKeyDown(TObject*, uint16_t& key, TShiftState) {
  HandleEditorKey(key, &TfmKvObjIns::ValueListExit);
}

// The platform sends no character message for Enter, so there is none to take off the queue.
void TfmKvObjIns::HandleEditorKey(uint16_t& key, void (TfmKvObjIns::*exitHandler)(TObject*)) {
  switch (key) {
    case VK_RETURN:
      key = 0;
      if (FShowEdit) ValueEditExit(this);
      else ValueListExit(this);
      FocusValueEditor();
      break;
    case VK_UP:
    case VK_DOWN: {
      const int step = key == VK_UP ? -1 : 1;
      key = 0;
      (this->*exitHandler)(this);
      const int row = PropertyGrid->GetRow() + step;
      if (row < 0 || row >= PropertyGrid->GetRowCount()) break;
      PropertyGrid->SetRow(row);
      // The new row's editor may be the other one: the keys go on reaching an editor.
      FocusValueEditor();
      break;
    }
    default: break;
  }
}

void TfmKvObjIns::FocusValueEditor() {
  if (!Active()) return;
  if (FShowEdit) {
    ValueEdit->SelectAll();
    if (ValueEdit->CanFocus()) ValueEdit->SetFocus();
  }
  if (FShowList) {
    if (ValueList->CanFocus()) ValueList->SetFocus();
  }
}
