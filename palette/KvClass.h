// KvClass: the process-wide registry of the component classes that packages put on the
// palette, the classes that get no icon on a designed form, and the palette bitmaps read from
// component resource files (.dcr); plus the small controls the designer places on a designed
// form or exchanges with its host: the icon of a non-visual component, the palette button and
// the drag object of a database field drag.
//
// The registry is created when the library is loaded and installs itself as the library's
// RegisterComponentsProc / RegisterNoIconProc, so every RegisterComponents call of any package
// lands here. It lives until the process ends.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <type_traits>

#include "Buttons.h"
#include "Classes.h"
#include "Controls.h"
#include "Graphics.h"

// ---------------------------------------------------------------------------------------------
// The registry.

// Holder of the registry's lists, created once when the library is loaded. Its constructor
// creates the lists below and installs the registration procedures (unless another handler is
// installed already); its destructor frees them all and uninstalls them. Only one may exist at
// a time: a second raises EComponentError.
class TD80Class : public TComponent {
  KV_CLASS(TD80Class, TComponent)
 public:
  explicit TD80Class(TComponent* AOwner);
  ~TD80Class() override;
};

// One entry per palette page, in the order pages were first named, with the spelling first
// given; each entry's object is a TList of the page's classes (TClass), owned by this list.
// Page names are compared without regard to case.
extern TStringList* RegisteredPages;
// Number of (page, class) pairs registered so far; it only grows, so the palette can compare
// it with the value of its last rebuild.
extern int32_t RegisteredComponentCount;
// Classes registered as having no icon (TClass), each once, in order of registration.
extern TList* NoIconClasses;
// Palette bitmaps by resource name (as stored in the .dcr file); the list owns the bitmaps.
extern TStringList* ComponentBitmaps;
// An empty bitmap: what GetComponentBitmap answers when nothing matches.
extern TBitmap* DefaultBitmap;

// Entry `index` of a class list of RegisteredPages (or of NoIconClasses).
inline TClass ClassItem(const TList* classes, int index) { return static_cast<TClass>(classes->Get(index)); }

// Registers each class for streaming and, when Page is not empty, appends it to that page
// (created on first use) unless it is there already.
void KRegisterComponents(const std::string& Page, const TComponentClasses& ComponentClasses);
// Lists each class as having no icon (once) and registers it for streaming.
void KRegisterNoIconProc(const TComponentClasses& ComponentClasses);
// True when AComponent is an instance of a no-icon class or of a descendant of one.
bool IsNoIcon(const TComponent* AComponent);

// Adds the bitmaps of a 32-bit component resource file to ComponentBitmaps; a bitmap of a name
// already there (in any case) replaces the old one, which moves to the end. Other resources
// (icons, cursors, string tables, ...) are passed over. EFOpenError when the file cannot be
// read; EReadError (SInvalidImage) when it is not a 32-bit resource file or an entry's header
// is malformed, (SStreamTruncated) when an entry runs past the end; EInvalidGraphic when a
// bitmap is not valid. Bitmaps of the entries before the fault stay registered.
void ReadDCRFile(const std::string& FileName);
// The bitmap of AClass or of its nearest ancestor that has one; else "KVUNKNOWN"; else the
// empty DefaultBitmap. Never nullptr. The registry keeps the bitmap: callers copy it.
TBitmap* GetComponentBitmap(TClass AClass);
// The bitmap stored under Name (any case); else "KVUNKNOWN"; else nullptr.
TBitmap* GetComponentBitmapByName(const std::string& Name);

// ---------------------------------------------------------------------------------------------
// The engine's close-query callback: a function of an object that takes the Sender and answers
// whether the design may close (False keeps the designed form open). Bound like an event:
//   engine->OnDesignerDestroy = {this, &TfmKvFrmDsg::CloseDesigner};
class TKvDesignerDestroy {
 public:
  using Function = std::function<bool(TObject*)>;

  TKvDesignerDestroy() = default;
  TKvDesignerDestroy(std::nullptr_t) {}
  template <class F>
  requires(std::is_invocable_r_v<bool, F&, TObject*> && !std::is_same_v<std::decay_t<F>, TKvDesignerDestroy> &&
           !std::is_same_v<std::decay_t<F>, std::nullptr_t>) TKvDesignerDestroy(F&& f)
      : FCode(std::forward<F>(f)) {}
  template <class C, class B>
  requires std::is_base_of_v<B, C> TKvDesignerDestroy(C* obj, bool (B::*fn)(TObject*))
      : FData(obj), FCode([obj, fn](TObject* sender) { return (obj->*fn)(sender); }) {}

  explicit operator bool() const { return static_cast<bool>(FCode); }
  // Unassigned, nothing objects: True.
  bool operator()(TObject* Sender) const { return !FCode || FCode(Sender); }
  // The object whose function is bound; nullptr for a closure or when unassigned.
  TObject* Data() const { return FData; }

 private:
  TObject* FData = nullptr;
  Function FCode;
};

// ---------------------------------------------------------------------------------------------
// Surface helper controls.

// The 28 x 28 button that stands on a designed form for a non-visual component. Its position
// is the component's design position (DesignInfo: left in the low 16 bits, top in the high 16
// bits, each signed), so moving the icon moves what the form file records.
class TKvIcon : public TBitBtn {
  KV_CLASS(TKvIcon, TBitBtn)
 public:
  using TBitBtn::TBitBtn;
  static constexpr int Size = 28;

  TComponent* Component() const { return FComponent; }
  // Shows AComponent (or nothing): the icon moves to the component's design position and hears
  // of the component's destruction.
  void SetComponent(TComponent* AComponent);
  // Records (ALeft, ATop) as the component's design position; the size stays 28 x 28.
  void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
  void Notification(TComponent* AComponent, TOperation Operation) override;

 protected:
  // An icon stands for a non-visual component: it takes no place in the form's tab order.
  bool TakesTabOrder() const override { return false; }

 private:
  TComponent* FComponent = nullptr;
};

// A palette button: the class it inserts and the palette list it belongs to. Destroying it
// takes it out of that list first, so a list never holds a destroyed button.
class TKvSpeedButton : public TSpeedButton {
  KV_CLASS(TKvSpeedButton, TSpeedButton)
 public:
  explicit TKvSpeedButton(TComponent* AOwner);
  ~TKvSpeedButton() override;

  TNotifyEvent OnDestroy;
  TClass ComponentClass = nullptr;  // nullptr for the pointer and scroll buttons
  TList* ButtonList = nullptr;      // not owned
};

// The drag object with which a host drags database fields onto a designed form. The host fills
// FieldList (TField objects, not owned) before the drag starts.
class TKvDragField : public TDragControlObject {
  KV_CLASS(TKvDragField, TDragControlObject)
 public:
  explicit TKvDragField(TControl* AControl);
  ~TKvDragField() override;
  TList* const FieldList;
};

// Reads the root's name from a form file into FormName; when one of the screen's forms has
// that name (ignoring case), shows it and answers True. Stream exceptions reach the caller;
// EReadError (SInvalidImage) when the file holds no form stream.
bool ExistFormInScreen(const std::string& FileName, std::string& FormName);
