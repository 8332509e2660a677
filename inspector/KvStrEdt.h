// KvStrEdt: the string list editor. TStringsProperty gives every TStrings property a row that
// reads "[TStrings]" and opens TfmKvStrEdt, a modal memo with a line counter that can load the
// lines from a text file and save them to one.
#pragma once

#include <string>

#include "Classes.h"
#include "Dialogs.h"
#include "DsgnIntf.h"
#include "ExtCtrls.h"
#include "Forms.h"
#include "Menus.h"
#include "StdCtrls.h"

class TStringsProperty : public TPropertyEditor {
  KV_CLASS(TStringsProperty, TPropertyEditor)
 public:
  void Edit() override;
  TPropertyAttributes GetAttributes() override { return {paDialog}; }
  std::string GetValue() override { return "[TStrings]"; }
  // Only an empty text does anything: it hands nil to every selected component's setter.
  void SetValue(const std::string& value) override;
};

class TfmKvStrEdt : public TForm {
  KV_CLASS(TfmKvStrEdt, TForm)
 public:
  explicit TfmKvStrEdt(TComponent* AOwner);
  ~TfmKvStrEdt() override;

  TBevel* Bevel1 = nullptr;
  TLabel* LineCount = nullptr;
  TMemo* Memo = nullptr;
  TButton* CodeWndBtn = nullptr;
  TButton* OKButton = nullptr;
  TButton* CancelButton = nullptr;
  TButton* HelpButton = nullptr;
  TOpenDialog* OpenDialog = nullptr;
  TSaveDialog* SaveDialog = nullptr;
  TPopupMenu* StringEditorMenu = nullptr;
  TMenuItem* LoadItem = nullptr;
  TMenuItem* SaveItem = nullptr;
  TMenuItem* CodeEditorItem = nullptr;

  void FormCreate(TObject* Sender);
  // The line counter ("12 lines") follows every change of the memo's text.
  void MemoChange(TObject* Sender);
  void LoadItemClick(TObject* Sender);
  void SaveItemClick(TObject* Sender);
  void CodeEditorItemClick(TObject* Sender);
  void CodeWndBtnClick(TObject* Sender);
  void HelpButtonClick(TObject* Sender);
};

// Holds a private copy of a list and lets the user edit it in the window.
class TStringsEditor : public TComponent {
  KV_CLASS(TStringsEditor, TComponent)
 public:
  explicit TStringsEditor(TComponent* AOwner);
  ~TStringsEditor() override;

  void SetStrings(TStrings* value);
  TStrings* GetStrings() const { return FStrings; }
  // Shows the window modally; True (and the memo's lines taken) when it closed with OK.
  bool Execute();
  TfmKvStrEdt* Form() const { return FForm; }
  void Notification(TComponent* component, TOperation operation) override;

 private:
  TStringList* FStrings;
  TfmKvStrEdt* FForm = nullptr;
};

// The latest string list window created, for hosts and tests that watch the dialog.
extern TfmKvStrEdt* fmKvStrEdt;
