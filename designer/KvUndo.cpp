// KvUndo: the undo history of one design.
#include "KvUndo.h"

void TKUndoStack::Push(TKUndoStep step) {
  if (!step.MergeKey.empty() && FPos == FSteps.size() && FPos > 0 && !AtSaved() &&
      FSteps.back().MergeKey == step.MergeKey && FSteps.back().After.Pieces == step.Before.Pieces) {
    FSteps.back().After = std::move(step.After);
    return;
  }
  FSteps.erase(FSteps.begin() + static_cast<std::ptrdiff_t>(FPos), FSteps.end());
  if (FSaved > static_cast<long>(FPos)) FSaved = -1;  // the saved state was among the dropped ones
  FSteps.push_back(std::move(step));
  ++FPos;
  if (FSteps.size() > Limit) {
    FSteps.pop_front();
    --FPos;
    FSaved = FSaved > 0 ? FSaved - 1 : -1;
  }
}
