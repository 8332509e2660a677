// KvPicEdt: the picture editor. TGraphicProperty edits TPicture and TGraphic properties (Picture,
// Glyph, Icon) and TGraphicEditor the Picture of a component double-clicked on the design; both
// run TfmPicEdt, a modal preview with Load, Save and Clear, through TPictureEditor.
//
// The kit does not register them: a host that wants them calls RegisterPictureEditors once.
#pragma once

#include <string>

#include "Dialogs.h"
#include "DsgnIntf.h"
#include "ExtCtrls.h"
#include "Forms.h"
#include "Graphics.h"
#include "StdCtrls.h"

class TGraphicProperty : public TPropertyEditor {
  KV_CLASS(TGraphicProperty, TPropertyEditor)
 public:
  void Edit() override;
  TPropertyAttributes GetAttributes() override { return {paDialog}; }
  // "(None)" without a graphic (or an empty one), else "(" + the value's class name + ")".
  std::string GetValue() override;
  // Only an empty text does anything: it hands nil to every selected component's setter.
  void SetValue(const std::string& value) override;
};

class TGraphicEditor : public TComponentEditor {
  KV_CLASS(TGraphicEditor, TComponentEditor)
 public:
  // Edits the component's published TPicture property "Picture"; nothing without one.
  void Edit() override;
};

class TfmPicEdt : public TForm {
  KV_CLASS(TfmPicEdt, TForm)
 public:
  explicit TfmPicEdt(TComponent* AOwner);
  ~TfmPicEdt() override;

  TButton* OKButton = nullptr;
  TButton* CancelButton = nullptr;
  TButton* HelpButton = nullptr;
  TGroupBox* GroupBox1 = nullptr;
  TPanel* ImagePanel = nullptr;
  TPaintBox* ImagePaintBox = nullptr;
  TButton* Load = nullptr;
  TButton* Save = nullptr;
  TButton* Clear = nullptr;
  TOpenDialog* OpenDialog = nullptr;
  TSaveDialog* SaveDialog = nullptr;

  void FormCreate(TObject* Sender);
  void FormDestroy(TObject* Sender);
  void LoadClick(TObject* Sender);
  void SaveClick(TObject* Sender);
  void ClearClick(TObject* Sender);
  void HelpButtonClick(TObject* Sender);
  void ImagePaintBoxPaint(TObject* Sender);

  // The working copy that the window shows and changes.
  TPicture* Picture() const { return FPicture; }
  // Save and Clear are offered exactly when there is a graphic.
  void UpdateButtons();

 private:
  TPicture* FPicture = nullptr;
};

// Holds a private copy of a picture and lets the user edit it in the window.
class TPictureEditor : public TComponent {
  KV_CLASS(TPictureEditor, TComponent)
 public:
  explicit TPictureEditor(TComponent* AOwner);
  ~TPictureEditor() override;

  void SetPicture(TPicture* value);
  TPicture* GetPicture() const { return FPicture; }
  // Shows the window modally; True (and the window's picture taken) when it closed with OK.
  bool Execute();
  TfmPicEdt* Form() const { return FForm; }
  void Notification(TComponent* component, TOperation operation) override;

  // The formats the file dialogs offer: those whose class inherits from this one.
  TGraphicClass FGraphicClass;

 private:
  TPicture* FPicture;
  TfmPicEdt* FForm = nullptr;
};

// The latest picture editor window created, for hosts and tests that watch the dialog.
extern TfmPicEdt* fmPicEdt;

// Registers TGraphicProperty for every TPicture and TGraphic property, and TGraphicEditor for
// TImage (and so for its descendants). A host with picture components of its own adds
// RegisterComponentEditor(TMyClass::StaticClass(), TGraphicEditor::StaticClass()).
void RegisterPictureEditors();
