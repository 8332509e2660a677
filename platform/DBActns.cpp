#include "DBActns.h"

#include <algorithm>

// =============================================================================================
// TDataSetAction
TDataSetAction::~TDataSetAction() {
  Destroying();
  SetDataSource(nullptr);
}

void TDataSetAction::SetDataSource(TDataSource* v) {
  if (FDataSource == v) return;
  if (FDataSource) FDataSource->RemoveFreeNotification(this);
  FDataSource = v;
  if (v) v->FreeNotification(this);
}

void TDataSetAction::Notification(TComponent* c, TOperation op) {
  TAction::Notification(c, op);
  if (op == opRemove && c == FDataSource) FDataSource = nullptr;
}

bool TDataSetAction::HandlesTarget(TObject* target) {
  auto* ds = Cast<TDataSource>(target);
  if (!ds || !ds->GetDataSet()) return false;
  return !FDataSource || ds == FDataSource;
}

namespace {
bool DBActnsEditing(TDataSet* d) { return d->State() == dsEdit || d->State() == dsInsert; }
bool DBActnsCanChange(TDataSet* d) { return d->GetActive() && d->CanModify() && !DBActnsEditing(d); }
}  // namespace

void TDataSetFirst::ExecuteTarget(TObject* t) { GetDataSet(t)->First(); }
void TDataSetFirst::UpdateTarget(TObject* t) { SetEnabled(GetDataSet(t)->GetActive() && !GetDataSet(t)->Bof()); }

void TDataSetPrior::ExecuteTarget(TObject* t) { GetDataSet(t)->Prior(); }
void TDataSetPrior::UpdateTarget(TObject* t) { SetEnabled(GetDataSet(t)->GetActive() && !GetDataSet(t)->Bof()); }

void TDataSetNext::ExecuteTarget(TObject* t) { GetDataSet(t)->Next(); }
void TDataSetNext::UpdateTarget(TObject* t) { SetEnabled(GetDataSet(t)->GetActive() && !GetDataSet(t)->Eof()); }

void TDataSetLast::ExecuteTarget(TObject* t) { GetDataSet(t)->Last(); }
void TDataSetLast::UpdateTarget(TObject* t) { SetEnabled(GetDataSet(t)->GetActive() && !GetDataSet(t)->Eof()); }

void TDataSetInsert::ExecuteTarget(TObject* t) { GetDataSet(t)->Insert(); }
void TDataSetInsert::UpdateTarget(TObject* t) { SetEnabled(DBActnsCanChange(GetDataSet(t))); }

void TDataSetDelete::ExecuteTarget(TObject* t) { GetDataSet(t)->Delete(); }
void TDataSetDelete::UpdateTarget(TObject* t) {
  TDataSet* d = GetDataSet(t);
  SetEnabled(d->GetActive() && d->CanModify() && !(d->Bof() && d->Eof()));
}

void TDataSetEdit::ExecuteTarget(TObject* t) { GetDataSet(t)->Edit(); }
void TDataSetEdit::UpdateTarget(TObject* t) { SetEnabled(DBActnsCanChange(GetDataSet(t))); }

void TDataSetPost::ExecuteTarget(TObject* t) { GetDataSet(t)->Post(); }
void TDataSetPost::UpdateTarget(TObject* t) { SetEnabled(DBActnsEditing(GetDataSet(t))); }

void TDataSetCancel::ExecuteTarget(TObject* t) { GetDataSet(t)->Cancel(); }
void TDataSetCancel::UpdateTarget(TObject* t) { SetEnabled(DBActnsEditing(GetDataSet(t))); }

void TDataSetRefresh::ExecuteTarget(TObject* t) {
  TDataSet* d = GetDataSet(t);
  d->CheckBrowseMode();
  int recNo = d->GetRecNo();
  d->Close();
  d->Open();
  if (recNo > 0 && d->RecordCount() > 0) d->SetRecNo(std::min(recNo, d->RecordCount()));
}
void TDataSetRefresh::UpdateTarget(TObject* t) { SetEnabled(GetDataSet(t)->GetActive()); }

// =============================================================================================
KV_IMPLEMENT_CLASS(TDataSetAction, "DBActns") {
  b.Prop("DataSource", &TDataSetAction::GetDataSource, &TDataSetAction::SetDataSource);
}
KV_IMPLEMENT_CLASS(TDataSetFirst, "DBActns") {}
KV_IMPLEMENT_CLASS(TDataSetPrior, "DBActns") {}
KV_IMPLEMENT_CLASS(TDataSetNext, "DBActns") {}
KV_IMPLEMENT_CLASS(TDataSetLast, "DBActns") {}
KV_IMPLEMENT_CLASS(TDataSetInsert, "DBActns") {}
KV_IMPLEMENT_CLASS(TDataSetDelete, "DBActns") {}
KV_IMPLEMENT_CLASS(TDataSetEdit, "DBActns") {}
KV_IMPLEMENT_CLASS(TDataSetPost, "DBActns") {}
KV_IMPLEMENT_CLASS(TDataSetCancel, "DBActns") {}
KV_IMPLEMENT_CLASS(TDataSetRefresh, "DBActns") {}

void RegisterDBActnsClasses() {
  RegisterClasses({TDataSetFirst::StaticClass(), TDataSetPrior::StaticClass(), TDataSetNext::StaticClass(),
                   TDataSetLast::StaticClass(), TDataSetInsert::StaticClass(), TDataSetDelete::StaticClass(),
                   TDataSetEdit::StaticClass(), TDataSetPost::StaticClass(), TDataSetCancel::StaticClass(),
                   TDataSetRefresh::StaticClass()});
}
