#include "StdActns.h"

#include "Clipbrd.h"
#include "ComCtrls.h"
#include "Forms.h"
#include "qt/QtClipbrd.h"

// =============================================================================================
// TEditAction
TEditAction::~TEditAction() {
  Destroying();
  SetControl(nullptr);
}

void TEditAction::SetControl(TCustomEdit* v) {
  if (FControl == v) return;
  if (FControl) FControl->RemoveFreeNotification(this);
  FControl = v;
  if (v) v->FreeNotification(this);
}

void TEditAction::Notification(TComponent* c, TOperation op) {
  TAction::Notification(c, op);
  if (op == opRemove && c == FControl) FControl = nullptr;
}

bool TEditAction::HandlesTarget(TObject* target) {
  auto* edit = Cast<TCustomEdit>(target);
  return edit && (!FControl || edit == FControl) && edit->Focused();
}

namespace {
bool StdActnsHasSelection(TCustomEdit* e) { return e->GetSelLength() > 0; }
}  // namespace

void TEditCut::ExecuteTarget(TObject* target) {
  TCustomEdit* e = EditOf(target);
  Clipboard()->SetAsText(e->GetSelText());
  e->ClearSelection();
}
void TEditCut::UpdateTarget(TObject* target) {
  TCustomEdit* e = EditOf(target);
  SetEnabled(StdActnsHasSelection(e) && !e->GetReadOnly());
}

void TEditCopy::ExecuteTarget(TObject* target) { Clipboard()->SetAsText(EditOf(target)->GetSelText()); }
void TEditCopy::UpdateTarget(TObject* target) { SetEnabled(StdActnsHasSelection(EditOf(target))); }

void TEditPaste::ExecuteTarget(TObject* target) { EditOf(target)->SetSelText(Clipboard()->GetAsText()); }
void TEditPaste::UpdateTarget(TObject* target) {
  SetEnabled(!EditOf(target)->GetReadOnly() && Clipboard()->HasFormat(CF_TEXT));
}

void TEditSelectAll::ExecuteTarget(TObject* target) { EditOf(target)->SelectAll(); }
void TEditSelectAll::UpdateTarget(TObject* target) { SetEnabled(!EditOf(target)->GetText().empty()); }

void TEditUndo::ExecuteTarget(TObject* target) {
  TCustomEdit* e = EditOf(target);
  if (e->HandleAllocated()) qtcb::Undo(e->Handle());
}
void TEditUndo::UpdateTarget(TObject* target) {
  TCustomEdit* e = EditOf(target);
  SetEnabled(e->HandleAllocated() && !e->GetReadOnly() && qtcb::CanUndo(e->Handle()));
}

void TEditDelete::ExecuteTarget(TObject* target) { EditOf(target)->ClearSelection(); }
void TEditDelete::UpdateTarget(TObject* target) {
  TCustomEdit* e = EditOf(target);
  SetEnabled(StdActnsHasSelection(e) && !e->GetReadOnly());
}

// =============================================================================================
// THintAction
THintAction::THintAction(TComponent* AOwner) : TCustomAction(AOwner) { DisableIfNoHandler = false; }

bool THintAction::HandlesTarget(TObject* target) {
  auto* bar = Cast<TStatusBar>(target);
  return bar && bar->GetAutoHint();
}

void THintAction::ExecuteTarget(TObject* target) {
  auto* bar = static_cast<TStatusBar*>(target);
  std::string hint = GetHint();
  // The long part of a "short|long" hint, as GetLongHint gives it.
  if (size_t bar_at = hint.find('|'); bar_at != std::string::npos) hint = hint.substr(bar_at + 1);
  bar->SetSimpleText(hint);
}

// =============================================================================================
// TWindowClose
bool TWindowClose::HandlesTarget(TObject* target) { return Cast<TCustomForm>(target) != nullptr; }
void TWindowClose::ExecuteTarget(TObject* target) { static_cast<TCustomForm*>(target)->Close(); }
void TWindowClose::UpdateTarget(TObject*) { SetEnabled(true); }

// =============================================================================================
KV_IMPLEMENT_CLASS(TEditAction, "StdActns") {}
KV_IMPLEMENT_CLASS(TEditCut, "StdActns") {}
KV_IMPLEMENT_CLASS(TEditCopy, "StdActns") {}
KV_IMPLEMENT_CLASS(TEditPaste, "StdActns") {}
KV_IMPLEMENT_CLASS(TEditSelectAll, "StdActns") {}
KV_IMPLEMENT_CLASS(TEditUndo, "StdActns") {}
KV_IMPLEMENT_CLASS(TEditDelete, "StdActns") {}
KV_IMPLEMENT_CLASS(THintAction, "StdActns") { PublishCustomActionProperties(b); }
KV_IMPLEMENT_CLASS(TWindowClose, "StdActns") {}

void RegisterStdActnsClasses() {
  RegisterClasses({TEditCut::StaticClass(), TEditCopy::StaticClass(), TEditPaste::StaticClass(),
                   TEditSelectAll::StaticClass(), TEditUndo::StaticClass(), TEditDelete::StaticClass(),
                   THintAction::StaticClass(), TWindowClose::StaticClass()});
}
