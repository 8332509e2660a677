// DBActns: the standard actions of datasets. Each works on the dataset of its DataSource, or
// when that is not set, of the data source of the data-aware control that offers itself as
// the target (the focused one first), and is enabled as the navigator's buttons are. With a
// DataSource it works without any data-aware control on the form.
#pragma once

#include "ActnList.h"
#include "Db.h"

class TDataSetAction : public TAction {
  KV_CLASS(TDataSetAction, TAction)
 public:
  using TAction::TAction;
  ~TDataSetAction() override;
  TDataSource* GetDataSource() const { return FDataSource; }
  void SetDataSource(TDataSource* v);
  bool HandlesTarget(TObject* target) override;
  TObject* DefaultTarget() const override { return FDataSource; }
  void Notification(TComponent* c, TOperation op) override;

 protected:
  // The dataset of a target this action handles.
  static TDataSet* GetDataSet(TObject* target) { return static_cast<TDataSource*>(target)->GetDataSet(); }

 private:
  TDataSource* FDataSource = nullptr;
};

#define KV_DATASET_ACTION(Name)                   \
  class Name : public TDataSetAction {            \
    KV_CLASS(Name, TDataSetAction)                \
   public:                                        \
    using TDataSetAction::TDataSetAction;         \
    void ExecuteTarget(TObject* target) override; \
    void UpdateTarget(TObject* target) override;  \
  };

KV_DATASET_ACTION(TDataSetFirst)
KV_DATASET_ACTION(TDataSetPrior)
KV_DATASET_ACTION(TDataSetNext)
KV_DATASET_ACTION(TDataSetLast)
KV_DATASET_ACTION(TDataSetInsert)
KV_DATASET_ACTION(TDataSetDelete)
KV_DATASET_ACTION(TDataSetEdit)
KV_DATASET_ACTION(TDataSetPost)
KV_DATASET_ACTION(TDataSetCancel)
// Reads the records again from the database, staying on the same record number.
KV_DATASET_ACTION(TDataSetRefresh)

#undef KV_DATASET_ACTION

void RegisterDBActnsClasses();
