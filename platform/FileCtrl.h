// FileCtrl: the Win 3.1 page's file system controls. A directory list shows the path of its
// directory from the root down and the directory's subdirectories; a file list shows the files
// of a directory that match a mask; a drive combo box and a filter combo box choose the drive and
// the mask. Linked as in Delphi: drive -> directory list -> file list (and label), filter -> file
// list, file list -> edit. They read the real file system.
#pragma once

#include <string>
#include <vector>

#include "StdCtrls.h"

KV_ENUM(TFileAttr, ftReadOnly, ftHidden, ftSystem, ftVolumeID, ftDirectory, ftArchive, ftNormal)
KV_SET(TFileType, TFileAttr)
KV_ENUM(TTextCase, tcLowerCase, tcUpperCase)

class TFileListBox;
class TDirectoryListBox;

// Shortens a path with "..." in place of its leading directories until it fits maxLen pixels
// in the canvas's font, as the VCL's MinimizeName does.
std::string MinimizeName(const std::string& fileName, TCanvas* canvas, int maxLen);

// ---------------------------------------------------------------------------------------------
class TDirectoryListBox : public TCustomListBox {
  KV_CLASS(TDirectoryListBox, TCustomListBox)
 public:
  explicit TDirectoryListBox(TComponent* AOwner);
  ~TDirectoryListBox() override;
  // The directory shown, absolute and without a trailing separator (except the root). Setting
  // one that does not exist raises EInOutError and keeps the current one.
  std::string GetDirectory() const { return FDirectory; }
  void SetDirectory(const std::string& v);
  // The one drive of this system, "/" (see TDriveComboBox).
  char GetDrive() const { return '/'; }
  void SetDrive(char v);
  TLabel* GetDirLabel() const { return FDirLabel; }
  void SetDirLabel(TLabel* v);
  TFileListBox* GetFileList() const { return FFileList; }
  void SetFileList(TFileListBox* v);
  // The full path an item stands for.
  std::string GetItemPath(int index) const;
  // Opens the selected item's directory, as a double click or Enter does.
  void OpenCurrent();
  // Reads the file system again, then repaints as every control's Update does (Delphi hides
  // that one; a C++ function of the same signature overrides it, so it does both).
  void Update() override;
  // Index of the item of the current directory (the last of the path).
  int CurrentIndex() const { return FCurrentIndex; }
  void Notification(TComponent* c, TOperation op) override;
  void Loaded() override;

  TNotifyEvent OnChange;

 protected:
  void DblClick() override;
  void KeyPress(char& key) override;
  void Resize() override;
  virtual void Change();

 private:
  void ReadDirectoryNames();
  void DrawItem(int index, const TRect& r, TOwnerDrawState state);
  void UpdateDirLabel();
  std::string FDirectory;
  std::vector<std::string> FPathParts;  // "/" then each component
  int FCurrentIndex = 0;
  TLabel* FDirLabel = nullptr;
  TFileListBox* FFileList = nullptr;
};

// ---------------------------------------------------------------------------------------------
class TFileListBox : public TCustomListBox {
  KV_CLASS(TFileListBox, TCustomListBox)
 public:
  explicit TFileListBox(TComponent* AOwner);
  ~TFileListBox() override;
  std::string GetDirectory() const { return FDirectory; }
  void SetDirectory(const std::string& v);
  // Masks separated by ';', such as "*.pas;*.dfm".
  std::string GetMask() const { return FMask; }
  void SetMask(const std::string& v);
  bool IsMaskStored() const { return FMask != "*.*"; }
  TFileType GetFileType() const { return FFileType; }
  void SetFileType(TFileType v);
  bool GetShowGlyphs() const { return FShowGlyphs; }
  void SetShowGlyphs(bool v);
  TEdit* GetFileEdit() const { return FFileEdit; }
  void SetFileEdit(TEdit* v);
  // The full path of the selected file, or "". Setting a path selects its file, after
  // changing Directory when the path names another.
  std::string GetFileName() const;
  void SetFileName(const std::string& v);
  // Reads the directory again, then repaints (see TDirectoryListBox::Update).
  void Update() override;
  void Notification(TComponent* c, TOperation op) override;

  TNotifyEvent OnChange;

 protected:
  void Click() override;
  virtual void Change();

 private:
  void ReadFileNames();
  void DrawItem(int index, const TRect& r, TOwnerDrawState state);
  void UpdateFileEdit();
  std::string FDirectory;
  std::string FMask = "*.*";
  TFileType FFileType{ftNormal};
  bool FShowGlyphs = false;
  TEdit* FFileEdit = nullptr;
  std::vector<bool> FIsDir;
};

// ---------------------------------------------------------------------------------------------
// The drives of the system. This Unix file system has one root, so the list holds "/" alone.
class TDriveComboBox : public TCustomComboBox {
  KV_CLASS(TDriveComboBox, TCustomComboBox)
 public:
  explicit TDriveComboBox(TComponent* AOwner);
  ~TDriveComboBox() override;
  char GetDrive() const { return FDrive; }
  // Only '/' exists; any other drive raises EInOutError.
  void SetDrive(char v);
  TDirectoryListBox* GetDirList() const { return FDirList; }
  void SetDirList(TDirectoryListBox* v);
  TTextCase GetTextCase() const { return FTextCase; }
  void SetTextCase(TTextCase v);
  void Notification(TComponent* c, TOperation op) override;

 protected:
  void Change() override;

 private:
  void BuildList();
  void DrawItem(int index, const TRect& r, TOwnerDrawState state);
  char FDrive = '/';
  TDirectoryListBox* FDirList = nullptr;
  TTextCase FTextCase = tcLowerCase;
};

// ---------------------------------------------------------------------------------------------
class TFilterComboBox : public TCustomComboBox {
  KV_CLASS(TFilterComboBox, TCustomComboBox)
 public:
  explicit TFilterComboBox(TComponent* AOwner);
  ~TFilterComboBox() override;
  // "Description|mask|Description|mask..."; an odd count of parts raises EInvalidOperation.
  std::string GetFilter() const { return FFilter; }
  void SetFilter(const std::string& v);
  bool IsFilterStored() const;
  // The mask of the selected filter.
  std::string GetMask() const;
  TFileListBox* GetFileList() const { return FFileList; }
  void SetFileList(TFileListBox* v);
  void Notification(TComponent* c, TOperation op) override;
  void Loaded() override;

 protected:
  void Change() override;

 private:
  void BuildList();
  std::string FFilter;
  std::vector<std::string> FMasks;
  TFileListBox* FFileList = nullptr;
};

void RegisterFileCtrlClasses();
