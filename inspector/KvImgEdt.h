// KvImgEdt: the image list editor. Double-clicking a TImageList of a design (its component
// editor TImageListEditor) shows TfmKvImgEdt, a modal window over a copy of the list: its images
// in a row of cells, the selected one enlarged as a preview, and buttons that add pictures from
// files (bottom-left pixel transparent in a masked list, a picture wider than the list cut into
// several images), delete, move and clear them. OK puts the copy into the list, which the form
// file then stores.
#pragma once

#include <string>

#include "ComCtrls.h"
#include "Dialogs.h"
#include "DsgnIntf.h"
#include "ExtCtrls.h"
#include "Forms.h"
#include "StdCtrls.h"

class TImageListEditor : public TComponentEditor {
  KV_CLASS(TImageListEditor, TComponentEditor)
 public:
  int GetVerbCount() override { return 1; }
  std::string GetVerb(int index) override { return index == 0 ? "ImageList Editor..." : ""; }
  void ExecuteVerb(int index) override;
};

class TfmKvImgEdt : public TForm {
  KV_CLASS(TfmKvImgEdt, TForm)
 public:
  explicit TfmKvImgEdt(TComponent* AOwner);
  ~TfmKvImgEdt() override;

  TLabel* ImagesLabel = nullptr;
  TPaintBox* ImageBox = nullptr;
  TLabel* PreviewLabel = nullptr;
  TPaintBox* PreviewBox = nullptr;
  TButton* AddButton = nullptr;
  TButton* DeleteButton = nullptr;
  TButton* LeftButton = nullptr;
  TButton* RightButton = nullptr;
  TButton* ClearButton = nullptr;
  TButton* OKButton = nullptr;
  TButton* CancelButton = nullptr;
  TOpenDialog* OpenDialog = nullptr;

  void ImageBoxPaint(TObject* Sender);
  void ImageBoxMouseDown(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
  void PreviewBoxPaint(TObject* Sender);
  void AddButtonClick(TObject* Sender);
  void DeleteButtonClick(TObject* Sender);
  void LeftButtonClick(TObject* Sender);
  void RightButtonClick(TObject* Sender);
  void ClearButtonClick(TObject* Sender);

  // The list edited: a copy of source (its size, mask setting and images).
  void SetImageList(TImageList* source);
  TImageList* Images() const { return FImages; }
  // Adds the picture file's images and selects the first; EInvalidGraphic for a file that is no
  // picture, leaving the list as it was.
  void AddFile(const std::string& fileName);
  int Selected() const { return FSelected; }
  void Select(int index);

 private:
  // The cell rectangle of image i in ImageBox.
  TRect CellRect(int i) const;
  void Changed();

  TImageList* FImages;
  int FSelected = -1;
};

// Registers TImageListEditor for TImageList (once).
void RegisterImageListEditor();

extern TfmKvImgEdt* fmKvImgEdt;
