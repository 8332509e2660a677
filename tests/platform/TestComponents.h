// Component classes used by the streaming and RTTI tests: every kind of published property.
#pragma once

#include "Classes.h"

KV_ENUM(TTestColorMode, cmNone, cmRed, cmGreen, cmBlue)
KV_ENUM(TTestStyle, tsBold, tsItalic, tsUnderline, tsStrikeOut)
KV_SET(TTestStyles, TTestStyle)
KV_EVENT(TTestKeyEvent, "Sender: TObject; var Key: Word; const Shift: Integer", TObject*, uint16_t&, int)

// A persistent sub-object, streamed through dotted names ("Font.Size").
class TTestFont : public TPersistent {
  KV_CLASS(TTestFont, TPersistent)
 public:
  int GetSize() const { return FSize; }
  void SetSize(int v) { FSize = v; }
  TTestStyles GetStyle() const { return FStyle; }
  void SetStyle(TTestStyles v) { FStyle = v; }
  std::string GetName() const { return FName; }
  void SetName(const std::string& v) { FName = v; }
  void Assign(TPersistent* source) override;

 private:
  int FSize = 8;
  TTestStyles FStyle;
  std::string FName = "MS Sans Serif";
};

class TTestColumn : public TCollectionItem {
  KV_CLASS(TTestColumn, TCollectionItem)
 public:
  std::string GetCaption() const { return FCaption; }
  void SetCaption(const std::string& v) { FCaption = v; }
  int GetWidth() const { return FWidth; }
  void SetWidth(int v) { FWidth = v; }

 private:
  std::string FCaption;
  int FWidth = 64;
};

// A component with one published property of each kind and children of its own.
class TTestItem : public TComponent {
  KV_CLASS(TTestItem, TComponent)
 public:
  explicit TTestItem(TComponent* owner);
  ~TTestItem() override;

  int GetCount() const { return FCount; }
  void SetCount(int v) { FCount = v; }
  int64_t GetBig() const { return FBig; }
  void SetBig(int64_t v) { FBig = v; }
  bool GetEnabled() const { return FEnabled; }
  void SetEnabled(bool v) { FEnabled = v; }
  TTestColorMode GetMode() const { return FMode; }
  void SetMode(TTestColorMode v) { FMode = v; }
  TTestStyles GetStyles() const { return FStyles; }
  void SetStyles(TTestStyles v) { FStyles = v; }
  std::string GetCaption() const { return FCaption; }
  void SetCaption(const std::string& v) { FCaption = v; }
  char GetAccel() const { return FAccel; }
  void SetAccel(char v) { FAccel = v; }
  long double GetRatio() const { return FRatio; }
  void SetRatio(long double v) { FRatio = v; }
  TTestFont* GetFont() const { return FFont; }
  void SetFont(TTestFont* v) { FFont->Assign(v); }
  TStrings* GetLines() const { return FLines; }
  void SetLines(TStrings* v) { FLines->Assign(v); }
  TCollection* GetColumns() const { return FColumns; }
  void SetColumns(TCollection* v) { FColumns->Assign(v); }
  TTestItem* GetBuddy() const { return FBuddy; }
  void SetBuddy(TTestItem* v);
  bool IsCaptionStored() const { return FCaption != "default"; }

  TNotifyEvent OnClick;
  TTestKeyEvent OnKey;

  // Children are the components this item owns (as a container's are).
  void GetChildren(const TGetChildProc& proc, TComponent* root) override;
  TComponent* GetChildOwner() override { return this; }
  void Notification(TComponent* c, TOperation op) override;
  int LoadedCount = 0;
  void Loaded() override;

 private:
  int FCount = 0;
  int64_t FBig = 0;
  bool FEnabled = true;
  TTestColorMode FMode = cmNone;
  TTestStyles FStyles;
  std::string FCaption;
  char FAccel = 'A';
  long double FRatio = 0;
  TTestFont* FFont;
  TStrings* FLines;
  TCollection* FColumns;
  TTestItem* FBuddy = nullptr;
};

// A root whose published methods can be bound from a stream.
class TTestRoot : public TTestItem {
  KV_CLASS(TTestRoot, TTestItem)
 public:
  using TTestItem::TTestItem;
  void ItemClick(TObject* sender) { Clicks.push_back(sender); }
  void ItemKey(TObject*, uint16_t& key, int) { key = 0; }
  std::vector<TObject*> Clicks;
  TTestItem* ItemA = nullptr;  // published field, bound by name
};

void RegisterTestClasses();
