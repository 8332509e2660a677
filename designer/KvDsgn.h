// KvDsgn: the designer engine. One TKFormDesigner turns one form into a design surface: it is
// the form's designer, sees every message of the form and its controls before they do, keeps
// the selection with its grab handles, inserts, moves, resizes, aligns, names and deletes
// components, shows non-visual components as icons, and loads and saves form files.
#pragma once

#include <functional>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "Classes.h"
#include "DsgnIntf.h"
#include "Forms.h"
#include "Graphics.h"
#include "KvClass.h"
#include "KvUndo.h"
#include "Menus.h"
#include "StdCtrls.h"

class TKFormDesigner;
class TKvDot;
class TKReader;

// Engine-to-inspector messages, always posted to the inspector window (first parameter 0).
constexpr uint32_t KM_OBJECTCHANGED = WM_USER;       // second parameter: the engine, or 0
constexpr uint32_t KM_OBJECTMODIFIED = WM_USER + 1;  // second parameter: the engine

constexpr TTypeKinds KvEngineTypeKinds = 0x04FE;  // an engine without designer or inspector

// What an engine asks of the designer component that opened its design (TKvFormDesigner
// implements it). Settings are read on every use, never copied.
class IKDesignerHost {
 public:
  virtual bool GetCanInsert() const = 0;
  virtual bool GetCanDelete() const = 0;
  virtual bool GetSnapToGrid() const = 0;
  virtual bool GetDisplayGrid() const = 0;
  virtual int GetGridX() const = 0;
  virtual int GetGridY() const = 0;
  virtual TTypeKinds GetTypeKinds() const = 0;
  // The class chosen on the palette (nil: the pointer), and going back to the pointer.
  virtual TClass PaletteClass() = 0;
  virtual void ResetPalette() = 0;
  // The top edge of a new blank design, so that it does not hide under the host's tool window.
  virtual int NewDesignTop() = 0;
  // A design's modified state or activation changed.
  virtual void DesignerChanged(TKFormDesigner* designer) = 0;
  // A gesture changed the design (after DesignerChanged has told of its modified state).
  virtual void DesignModified(TKFormDesigner* designer) = 0;
  // The design's selection is another one than when it last told.
  virtual void SelectionChanged(TKFormDesigner* designer) = 0;
  // A key pressed on a design that is a short cut of the host's commands: runs the command.
  virtual bool IsShortCut(uint16_t key, TShiftState shift) = 0;

 protected:
  ~IKDesignerHost() = default;
};

// What an engine tells the object inspector that shows its selection (TKvObjectInspector
// implements it), and the settings it takes from it when there is no designer component.
class IKInspectorHost {
 public:
  virtual TTypeKinds GetTypeKinds() const = 0;
  virtual bool GetCanDelete() const = 0;
  // The selection of designer changed; nil: there is nothing to inspect any more.
  virtual void ObjectChanged(TKFormDesigner* designer) = 0;
  // A property of designer's selection may have changed.
  virtual void ObjectModified(TKFormDesigner* designer) = 0;
  // Every component notification of the designed form but those about grab handles.
  virtual void FormNotification(TComponent* component, TOperation operation) = 0;
  // The user asked to see the handler `name` of an event of designer's selection (a double
  // click made or found it): the inspector shows that event's row, when it lists events.
  virtual void ShowMethod(TKFormDesigner* designer, const std::string& name) = 0;

 protected:
  ~IKInspectorHost() = default;
};

// The alignment and size dialogs, installed by the units that hold them. Each fills its choice
// and answers whether the user confirmed it. Codes: 0 no change; alignment 1 left sides / tops,
// 2 centres, 3 right sides / bottoms, 4 equal spacing, 5 centre in the window; size 1 shrink to
// the smallest, 2 grow to the largest, 3 the typed Width / Height.
struct TKAlignChoice {
  int Horizontal = 0;
  int Vertical = 0;
};
struct TKSizeChoice {
  int WidthCode = 0;
  int HeightCode = 0;
  int Width = 0;
  int Height = 0;
};
extern bool (*KAlignDialogProc)(TKAlignChoice& choice);
extern bool (*KSizeDialogProc)(TKSizeChoice& choice);

enum TKDesignStateFlag : uint8_t { dsAttaching, dsTornDown, dsBusy };
using TKDesignState = TSet<TKDesignStateFlag>;

// What the press on the design surface that is under way does until its release.
enum TKDragState : uint8_t {
  kdNone,     // no press under way
  kdPressed,  // moving drags the selected control, or the band when the form is selected
  kdGroup,    // pressed on a member of the selection: moving drags the whole selection
  kdBand,     // the rubber band is on the screen
  kdSize,     // a grab handle is dragged: it resizes its control
};

// Positions of the eight grab handles, in handle-list order.
KV_ENUM(TKSizeKind, LT, LB, RT, RB, MT, MB, ML, MR)

// The invisible zero-size label that captures the mouse during drags.
class TKLabel : public TLabel {
  KV_CLASS(TKLabel, TLabel)
 public:
  using TLabel::TLabel;
};

// The class of the engine's context menu.
class TKPopupMenu : public TPopupMenu {
  KV_CLASS(TKPopupMenu, TPopupMenu)
 public:
  using TPopupMenu::TPopupMenu;
};

// One pass of the engine over many grab handles: the handles' parents realign once at its end
// instead of at every handle, handles already above every other control of their parent are
// not raised again, and the handles and controls it changes are painted once at its end. The
// first of nested passes does the work; the inner ones only join it.
class TKDotBatch {
 public:
  TKDotBatch();
  ~TKDotBatch();
  TKDotBatch(const TKDotBatch&) = delete;
  TKDotBatch& operator=(const TKDotBatch&) = delete;

  // Called before a handle's parent changes its children or their bounds.
  void Touch(TWinControl* parent);
  // Whether the handle is above every control of its parent that is not a handle.
  bool OnTop(TKvDot* dot);
  // The handle is now the topmost child of its parent.
  void Raised(TKvDot* dot);
  // Painted at the end instead of now.
  void Paint(TControl* control) { FPaint = control; }
  void Forget(TKvDot* dot);
  // The pass under way, if any (one engine runs at a time: passes of two engines are one).
  static TKDotBatch* Current() { return FCurrent; }

 private:
  static inline TKDotBatch* FCurrent = nullptr;
  bool FOwner;
  int FUncaught;
  std::vector<TWinControl*> FParents;
  std::unordered_map<TWinControl*, std::unordered_set<TKvDot*>> FOnTop;
  TControl* FPaint = nullptr;
};

// One grab handle: a 5 x 5 windowed control on the marked control's parent. Enabled (black) it
// takes its own mouse input and resizes its control; disabled (grey) its input goes to the
// engine like that of any design control.
class TKvDot : public TWinControl {
  KV_CLASS(TKvDot, TWinControl)
 public:
  TKvDot(TKSizeKind kind, TKFormDesigner* designer);
  ~TKvDot() override;
  void WndProc(TMessage& message) override;
  void SetShown(bool shown);
  void SetControl(TControl* control, bool multi);

  bool FMoved = false;
  TKSizeKind FKind;
  TKFormDesigner* FDesigner;
  TCustomForm* FForm;
  TControl* FControl = nullptr;
  TPoint FLastPos;
  TNotifyEvent FOnBeginSize;
  TNotifyEvent FOnEndSize;

 protected:
  // A handle marks the selection: it is no stop of the form's tab order and no content that
  // the form scrolls to (a handle past the edge of a docked control would bring scroll bars).
  bool TakesTabOrder() const override { return false; }

 private:
  void DotMouseDown(TObject* sender, TMouseButton button, TShiftState shift, int x, int y);
  void DotMouseMove(TObject* sender, TShiftState shift, int x, int y);
  void DotMouseUp(TObject* sender, TMouseButton button, TShiftState shift, int x, int y);
};

// The selection marker of one selected surface control: its eight handles, each made when it
// is first placed (the middle ones of a multiple selection never are).
class TKSaveBitmaps : public TObject {
  KV_CLASS(TKSaveBitmaps, TObject)
 public:
  TKSaveBitmaps(TKFormDesigner* designer, TControl* control, bool multi);
  ~TKSaveBitmaps() override;
  void Attach(TControl* control, bool multi);
  void SetMulti(bool multi);
  void UpdateDots();
  void HideDots();
  // The handle on the parent the marked control's handles go on.
  void ParentDot(TKvDot* dot);
  void PlaceDot(TKSizeKind kind, int x, int y);
  // The handle, made now if it was not yet.
  TKvDot* Dot(TKSizeKind kind);
  TKvDot* MadeDot(int kind) const { return static_cast<TKvDot*>(FDots.Get(kind)); }

  bool FDestroying = false;
  TCustomForm* FForm;
  bool FMulti = false;
  TKFormDesigner* FDesigner;
  TControl* FControl = nullptr;
  TColor FColor = clBlack;
  TList FDots;
};

class TKFormDesigner : public TFormDesigner {
  KV_CLASS(TKFormDesigner, TFormDesigner)
 public:
  // A new blank form (no file name, no live form), a form loaded from fileName, or the host's
  // live form. Any failure tears the engine down before the exception leaves.
  TKFormDesigner(IKDesignerHost* formDesigner, IKInspectorHost* objectInspector, const std::string& fileName,
                 TForm* liveForm);
  // Asks the owner (OnDesignerDestroy) unless it was asked already, then tears down.
  ~TKFormDesigner() override;
  // Frees an engine the way every owner does.
  void Destroy() { delete this; }

  TCustomForm* GetForm() const { return FForm; }
  bool QueryDestroy();
  bool IsTornDown() const { return FState.Contains(dsTornDown); }
  // Whether an engine lives at that address: messages posted by an engine may arrive after it
  // was freed.
  static bool Exists(const void* designer);

  // --- Settings, read from the designer component (or the inspector) on every use.
  bool GetCanInsert() const;
  bool GetCanDelete() const;
  bool GetSnapToGrid() const;
  bool GetDisplayGrid() const;
  TPoint GetGridXY() const;
  TTypeKinds GetTypeKinds() const;
  void DebugMessage(const std::string&) {}

  // --- The designer interface.
  bool IsDesignMsg(TControl* sender, TMessage& message) override;
  void Modified() override;
  void Notification(TComponent* component, TOperation operation) override;
  void PaintGrid() override;
  void ValidateRename(TComponent* component, const std::string& curName, const std::string& newName) override;
  TMethod CreateMethod(const std::string& name, PTypeInfo typeData) override;
  std::string GetMethodName(const TMethod& method) override;
  void GetMethods(PTypeInfo typeData, const TGetStrProc& proc) override;
  std::string GetPrivateDirectory() override;
  void GetSelections(TComponentList* list) override;
  bool MethodExists(const std::string& name) override;
  void RenameMethod(const std::string& curName, const std::string& newName) override;
  void SelectComponent(TPersistent* instance) override;
  void SetSelections(TComponentList* list) override;
  void ShowMethod(const std::string& name) override;
  std::string UniqueName(const std::string& baseName) override;
  void GetComponentNames(PTypeInfo classType, const TGetStrProc& proc) override;
  TComponent* GetComponent(const std::string& name) override;
  std::string GetComponentName(TComponent* component) override;
  std::string GetObjectName(TPersistent* instance) override;
  bool MethodFromAncestor(const TMethod& method) override;
  bool IsComponentLinkable(TComponent* component) override;
  void MakeComponentLinkable(TComponent* component) override;
  TComponent* GetRoot() override;
  void Revert(TPersistent* instance, PPropInfo prop) override;

  // --- Selection and grab handles.
  void InternalSetSelections();
  bool AddOrRemoveComponent(TComponent* item);
  void ClearSaveList(int first);
  void SetSaveList(int index, TComponent* control, bool multi);
  void AddSaveList(TComponent* control, bool multi);
  void ShowSelect();
  void HideSelect();
  bool IsIncludeSelections(TControl* control) const;
  TComponent* OneOfSelections(TComponent* item) const;
  // R carries Left, Top, Width, Height in Left, Top, Right, Bottom; answers the control's new
  // screen rectangle in R.
  void SetPropBounds(TRect& r);

  // --- Creation, naming, listing.
  TComponent* CreateComponent(TClass componentClass, TComponent* parent, int left, int top, int width,
                              int height) override;
  bool Listable(TComponent* component) const;
  bool Selectable(TComponent* component) const;

  // --- Icons of non-visual components.
  TKvIcon* CreateIcon(TComponent* component);
  void DestroyIcon(TKvIcon* icon);
  void CreateIcons();
  void BringToFrontIcons();

  // --- Alignment, sizing, align-to-grid and z-order (the dialog variants take the window
  // that runs them as their argument, as the menu handlers pass it).
  void Align(TObject* sender = nullptr);
  void Size(TObject* sender = nullptr);
  void AlignToGrid(TObject* sender = nullptr);
  void BringToFront(TObject* sender = nullptr);
  void SendToBack(TObject* sender = nullptr);
  void AlignLeft(TObject* sender = nullptr);
  void AlignHorizCenter(TObject* sender = nullptr);
  void AlignHorizCenterWindow(TObject* sender = nullptr);
  void AlignHorizSpaceEqually(TObject* sender = nullptr);
  void AlignRight(TObject* sender = nullptr);
  void AlignTops(TObject* sender = nullptr);
  void AlignVertCenter(TObject* sender = nullptr);
  void AlignVertCenterWindow(TObject* sender = nullptr);
  void AlignVertSpaceEqually(TObject* sender = nullptr);
  void AlignBottoms(TObject* sender = nullptr);

  // --- Loading and saving.
  bool ReadComponents(const std::string& fileName);
  bool IsStoredProp(TPersistent* instance, PPropInfo prop);
  void WriteUnits(const std::string& fileName, bool writeUnit);
  // Writes the form file of the design as it stands to fileName, leaving the design's file
  // name and modified state alone (a recovery copy).
  void WriteFormCopy(const std::string& fileName);
  // The form file of the design as it stands (resource header and binary form stream), and with
  // unitText the unit's source for unitName.
  std::string FormFileImage(const std::string& unitName = "", std::string* unitText = nullptr);
  // Runs the saving reader over a form stream of the designed form (reader built on it, at
  // "TPF0"): what the engine does not list is dropped; without `events` the event assignments
  // are taken out into the reader's Events, with them they are put back. A non-empty
  // newClassName replaces the root's class name. Answers the root's class name as written.
  std::string FilterFormStream(TKReader& reader, const TStrings* events, const std::string& newClassName);
  // The class name the unit declares and the form file names, from the stored image's.
  std::string UnitClassName(const std::string& imageClassName) const;
  // The live form as the saving reader leaves it (resource-framed, unlisted components dropped,
  // handler names in place); `onScan` is shown the pass that found its units, fields and events.
  void WriteLiveImage(TMemoryStream& image, const std::function<void(TKReader&)>& onScan = nullptr);

  // --- Mouse and keyboard (called from IsDesignMsg; public for the handles and tests).
  bool MouseDown(TControl* sender, TMouseButton button, TMessage& message);
  bool MouseMove(TControl* sender);
  bool MouseUp(TMessage& message);
  bool DoubleClick(TMessage& message);
  bool KeyDown(TControl* sender, uint16_t key);
  // Frees the selection as one undo step of that name; false when there is nothing to free.
  bool DeleteSelection(const std::string& caption = "Delete");

  // --- The clipboard: the selection with its children as text form objects, one after
  // another in creation order, as a form file writes them.
  std::string SelectionText();
  void CopySelection();
  void CutSelection();
  // Reads text form objects into the selected container (or the form) as one undo step: taken
  // names get the next free one, references among the pasted components follow their renamed
  // targets, and a paste onto the spot of its originals moves a grid step. Text that is not
  // such objects (EParserError, EReadError) or names an unregistered class (EClassNotFound)
  // changes nothing.
  void PasteText(const std::string& text);
  void Paste();
  // The design's own keys: Ctrl+arrow moves the selection a pixel, Ctrl+Shift+arrow a grid
  // step, Shift+arrow sizes the one selected control a pixel; Esc selects the parent, Tab and
  // Shift+Tab the next and previous component, Ctrl+A every component of the container.
  // Answers whether the key was one of them.
  bool KeyCommand(uint16_t key, TShiftState shift);
  bool MenuSelect(TControl* sender, TMessage& message);
  bool KeepCursor();
  TControl* ControlAt(TWinControl* root, const TPoint& screenPoint);
  // Where a control inserted over target goes: the nearest of target and its parents that
  // accepts child controls, at the last the form.
  TControl* InsertionParent(TControl* target) const;
  bool ControlWantsMouse(TControl* sender, int x, int y);
  // The rubber band from the press point to p, inverted over the form; EraseBand inverts the
  // band on the screen back. Both are no-ops when there is nothing to draw or erase.
  void DrawBand(const TPoint& p);
  void EraseBand();
  bool SelectInBand();
  TComponent* LastSelectable();
  TKPopupMenu* GetPopupMenu() const { return FPopupMenu; }

  // --- Undo and redo. A gesture opens a step over the components it is about to change (whole:
  // anything of them may change; else only bounds and z-order), names the components it creates,
  // and closes the step with its name. A step opened inside an open one joins it. A step that
  // changed nothing is not kept.
  void BeginUndo(const std::vector<TComponent*>& affected, bool whole);
  void AddUndo(TComponent* created);
  void EndUndo(const std::string& caption, const std::string& mergeKey = "");
  void CancelUndo();
  bool CanUndo() const { return FUndo.CanUndo(); }
  bool CanRedo() const { return FUndo.CanRedo(); }
  // "Undo Move", or "Undo" when there is no step; the same for redo.
  std::string UndoCaption() const;
  std::string RedoCaption() const;
  void Undo();
  void Redo();
  const TKUndoStack& UndoStack() const { return FUndo; }
  // The design as it stands is what its file holds.
  void MarkSaved() { FUndo.MarkSaved(); }

  // The grid pattern, rebuilt at construction and when the form's colour changes.
  void BuildGridBitmap();

  // --- Queries of the engine's state, for its callers and tests.
  TComponent* Selected() const { return FSelected; }  // the one selected component, or the form
  TComponent* SelectedComponent() const { return FSelectedComponent; }
  int MarkerCount() const { return FSaveList->Count(); }
  TKSaveBitmaps* Marker(int i) const { return static_cast<TKSaveBitmaps*>(FSaveList->Get(i)); }
  int IconCount() const { return FIcons->Count(); }
  TKvIcon* Icon(int i) const { return static_cast<TKvIcon*>(FIcons->Get(i)); }
  TComponent* IconComponent(int i) const { return static_cast<TComponent*>(FIconComponents->Get(i)); }
  // The icon that stands for a non-visual component, or nil.
  TKvIcon* IconOf(TComponent* component) const;
  TKDragState DragState() const { return FDrag; }
  TBitmap* GridBitmap() const { return FGridBitmap; }
  // The stored image of the form stream, and the resource name it was read or made with.
  TMemoryStream* FormImage() const { return FFormStream; }
  const std::string& ResName() const { return FResName; }

  // --- State the front end reads and sets.
  TCustomForm* FForm = nullptr;
  TKDesignState FState;
  std::string FFileName;
  bool FHasFileName = false;
  bool FIsLiveForm = false;
  bool FModified = false;
  // The format the form file is saved in: text when it was read from text, until a save as
  // chooses otherwise.
  bool FTextForm = false;
  // What could not be read when the form file was loaded, one line each, with the component's
  // path; the design opened without it.
  TStringList FLoadProblems;
  TKvDesignerDestroy OnDesignerDestroy;

 private:
  friend class TKvDot;
  friend class TKSaveBitmaps;

  // Tells the inspector of the selection, and the designer component when it differs from the
  // one it heard of last.
  void SelectionUpdated(bool any);
  std::vector<TComponent*> FToldSelection;

  IKDesignerHost* FFormDesigner;
  IKInspectorHost* FObjectInspector;
  TForm* FLiveForm;
  TBitmap* FGridBitmap = nullptr;
  bool FCanClose = false;
  TKLabel* FCaptureLabel = nullptr;
  std::string FResName;
  std::string FFormClassName;
  std::string FFormName;
  TMemoryStream* FFormStream = nullptr;
  // The live form's image when a loaded design began, against which saving tells what the
  // user changed; and a text file's own bytes.
  TMemoryStream FBaseline;
  std::string FFileText;
  // The position the form file gets (the form's own, less where the window system placed it),
  // and the form's position when it last moved.
  TPoint FFormPos;
  TPoint FFormLivePos;
  TKPopupMenu* FPopupMenu = nullptr;
  int FVerbItems = 0;  // the context menu's leading items that are editor verbs
  TMenu* FMenu = nullptr;
  bool FActive = false;
  bool FShowHandles = false;
  bool FMoved = false;
  TPoint FDownPos;
  TPoint FBandPos;
  TShiftState FShift;
  TComponent* FTarget = nullptr;
  TKDragState FDrag = kdNone;
  TPoint FLastPos;
  TComponent* FSelected = nullptr;
  TComponent* FSelectedComponent = nullptr;
  TList* FSaveList = nullptr;
  TList* FIcons = nullptr;
  TList* FIconComponents = nullptr;
  bool FRenaming = false;
  TRect FBounds;
  TStringList* FSortList = nullptr;
  TComponentList* FSelections = nullptr;
  // While Delete frees the selection: the form's components not freed yet.
  std::unordered_set<TComponent*>* FAlive = nullptr;

  void TearDown();
  void FormClose();
  bool Activate();
  bool Deactivate();
  void SetSelected(TComponent* item);
  void ResetSelections();
  void KeepSiblings(TWinControl* parent);
  TPoint SnapStep(TPoint d) const;
  void InvertBand();
  intptr_t HandleDrag(int dragMessage, TDragRec* dragRec);
  void DropFields(TKvDragField* source, const TPoint& screenPoint);
  bool PrepareAlign(bool horizontal);
  void PrepareSize();
  // The verbs of component's editor head the context menu, above a separator, in place of
  // those of the previous pop-up; RunVerb runs one if the component is still in the design.
  void PrepareVerbs(TComponent* component);
  void RunVerb(TComponent* component, const std::string& name, int index);
  void FindMethod(TReader* reader, const std::string& methodName, const TMethodEntry*& address, bool& error);
  // The entry that stands for a handler the host lacks: its name, no code.
  static const TMethodEntry* HandlerEntry(const std::string& name);
  void WriteFormImage();
  void FormMoved();
  // The root's class name in the stored image.
  std::string ImageClassName();
  // The bytes of the form file to save: the file as read with the user's changes.
  std::string SavedFormFile(TMemoryStream& current);

  TKUndoStack FUndo;
  bool FDragUndo = false;  // a drag's step is open
  int FUndoDepth = 0;
  bool FUndoWhole = false;
  std::vector<TComponent*> FUndoItems;  // nil once freed during the step
  TKUndoState FUndoBefore;
  TKUndoPiece CaptureUndoPiece(TComponent* c, bool whole) const;
  void CaptureUndoLinks(TKUndoState& state) const;
  std::vector<std::string> SelectionNames() const;
  void ApplyUndo(const TKUndoState& from, const TKUndoState& to, bool whole);
  void ApplyUndoBounds(const TKUndoState& to);
  void ApplyUndoWhole(const TKUndoState& from, const TKUndoState& to);
  void UndoDone();
  std::vector<TComponent*> MarkedControls() const;
  void BeginDragUndo();
  void EndDragUndo();
  void Nudge(int dx, int dy, int dw, int dh);
  void SelectNeighbour(int direction);
  void SelectAllOfContainer();
};

// One gesture's undo step for the length of a block: closed with its name at the end of the
// block, dropped when an exception leaves it.
class TKUndoScope {
 public:
  TKUndoScope(TKFormDesigner* designer, std::string caption, const std::vector<TComponent*>& affected, bool whole,
              std::string mergeKey = "");
  ~TKUndoScope();
  TKUndoScope(const TKUndoScope&) = delete;
  TKUndoScope& operator=(const TKUndoScope&) = delete;
  void Add(TComponent* created) { FDesigner->AddUndo(created); }

 private:
  TKFormDesigner* FDesigner;
  std::string FCaption;
  std::string FMergeKey;
  int FExceptions;
};

// Rounds half to even, as grid snapping does.
int KvRoundHalfEven(double v);
