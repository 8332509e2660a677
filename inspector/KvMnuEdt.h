// KvMnuEdt: the menu designer. Double-clicking a TMainMenu or TPopupMenu of a design (its
// component editor TMenuEditor) shows TfmKvMnuEdt, a tool window that lists the menu's items as
// an indented tree. The user adds, inserts, deletes and reorders items and sub-menus and edits
// the selected item's Caption ('-': a separator), ShortCut, Checked and Enabled in place; the
// item picked in the list is the design's selection, so the object inspector shows it. Changes
// made anywhere else (the inspector) show in the list at once, as does the designed form's
// menu bar. Items are components of the design's form, named from their captions as Delphi
// names them ("&Open" Open1, "-" N1).
#pragma once

#include <string>
#include <vector>

#include "DsgnIntf.h"
#include "Forms.h"
#include "Menus.h"
#include "StdCtrls.h"

class TMenuEditor : public TComponentEditor {
  KV_CLASS(TMenuEditor, TComponentEditor)
 public:
  int GetVerbCount() override { return 1; }
  std::string GetVerb(int index) override { return index == 0 ? "Menu Designer..." : ""; }
  void ExecuteVerb(int index) override;
};

class TfmKvMnuEdt : public TForm {
  KV_CLASS(TfmKvMnuEdt, TForm)
 public:
  explicit TfmKvMnuEdt(TComponent* AOwner);
  ~TfmKvMnuEdt() override;

  TListBox* ItemList = nullptr;
  TLabel* CaptionLabel = nullptr;
  TEdit* CaptionEdit = nullptr;
  TLabel* ShortCutLabel = nullptr;
  TComboBox* ShortCutCombo = nullptr;
  TCheckBox* CheckedBox = nullptr;
  TCheckBox* EnabledBox = nullptr;
  TButton* InsertButton = nullptr;
  TButton* AddButton = nullptr;
  TButton* SubMenuButton = nullptr;
  TButton* DeleteButton = nullptr;
  TButton* UpButton = nullptr;
  TButton* DownButton = nullptr;

  void FormCreate(TObject* Sender);
  void ItemListClick(TObject* Sender);
  void ItemListKeyDown(TObject* Sender, uint16_t& Key, TShiftState Shift);
  void CaptionEditChange(TObject* Sender);
  void ShortCutComboChange(TObject* Sender);
  void CheckedBoxClick(TObject* Sender);
  void EnabledBoxClick(TObject* Sender);
  // A new item before the selected one, after it, or as the last sub-item of it.
  void InsertButtonClick(TObject* Sender);
  void AddButtonClick(TObject* Sender);
  void SubMenuButtonClick(TObject* Sender);
  // Frees the selected item with its sub-items; its neighbour is selected next.
  void DeleteButtonClick(TObject* Sender);
  // Moves the selected item one place among its siblings.
  void UpButtonClick(TObject* Sender);
  void DownButtonClick(TObject* Sender);

  // The menu shown (nil: none; the window hides when its menu goes).
  TMenu* Menu() const { return FMenu; }
  void SetMenu(TMenu* menu);
  TMenuItem* SelectedItem() const { return FSelected; }
  // Selects the item in the list and in the design (nil: the menu itself).
  void SelectItem(TMenuItem* item);
  // The items in list order, depth first.
  const std::vector<TMenuItem*>& Entries() const { return FEntries; }
  void Notification(TComponent* component, TOperation operation) override;

 private:
  // The designer of the menu's form, while the form is being designed.
  TFormDesigner* Designer() const;
  void ReleaseMenu();
  TMenuItem* NewMenuItem(TMenuItem* parent, int index);
  void MoveSelected(int delta);
  void MenuChange(TObject* sender, TMenuItem* source, bool rebuild);
  void UpdateList();
  void UpdateFields();
  void Modified();

  TMenu* FMenu = nullptr;
  TMenuItem* FSelected = nullptr;
  std::vector<TMenuItem*> FEntries;
  bool FUpdating = false;
};

// The name Delphi gives a menu item with that caption: its letters, digits and underscores
// ("N" when none is left or it starts with a digit), numbered to be unique in the design.
std::string MenuItemName(TFormDesigner* designer, const std::string& caption);

// Opens the menu designer on menu (one window serves every design).
TfmKvMnuEdt* ShowMenuDesigner(TMenu* menu);

// Registers TMenuEditor for TMainMenu and TPopupMenu (once).
void RegisterMenuEditor();

extern TfmKvMnuEdt* fmKvMnuEdt;
