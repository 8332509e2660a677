// KvUndo: the undo history of one design. A step keeps only what its gesture touched: for each
// component, how it stood before and after (as a form stream with its children, or for moves
// and z-order commands only its bounds and place among its siblings), and the selection.
#pragma once

#include <deque>
#include <string>
#include <utility>
#include <vector>

#include "Types.h"

// One component as a step saw it. An empty Name: the component was not there.
struct TKUndoPiece {
  std::string Name;
  std::string Parent;  // "" for the form
  // Whole pieces: the component with its children, written as a form stream ("TPF0" first),
  // and the creation positions of each of them among the design's components.
  std::string Stream;
  std::vector<std::pair<std::string, int>> Creation;
  // Bounds pieces: Left, Top, Width, Height in Left, Top, Right, Bottom.
  TRect Bounds{};
  int ZOrder = -1;    // among the parent's controls, grab handles not counted
  int TabOrder = -1;  // windowed controls only

  bool operator==(const TKUndoPiece&) const = default;
};

// A reference from a component that is no piece (From; "" the form) to one of the pieces or
// their children.
struct TKUndoLink {
  std::string From;
  std::string Prop;
  std::string Target;

  bool operator==(const TKUndoLink&) const = default;
};

struct TKUndoState {
  std::vector<TKUndoPiece> Pieces;
  std::vector<TKUndoLink> Links;
  std::vector<std::string> Selection;  // names; empty: the form

  bool operator==(const TKUndoState&) const = default;
};

struct TKUndoStep {
  std::string Caption;  // "Move", "Delete", ...
  bool Whole = false;   // pieces are streams (else bounds)
  // A step that goes on from where the last one left the same components, with the same
  // non-empty key, joins it (the keystrokes of one inspector value, a run of nudges).
  std::string MergeKey;
  TKUndoState Before;
  TKUndoState After;
};

// The steps of one design with the position between done and undone ones, and the position the
// design was last saved at (-1: none reachable), so that undoing back to it unmodifies.
class TKUndoStack {
 public:
  static constexpr size_t Limit = 250;

  // A new step drops every undone one, or joins the last one (see MergeKey) unless that one is
  // where the design was saved.
  void Push(TKUndoStep step);
  bool CanUndo() const { return FPos > 0; }
  bool CanRedo() const { return FPos < FSteps.size(); }
  const TKUndoStep& UndoStep() const { return FSteps[FPos - 1]; }
  const TKUndoStep& RedoStep() const { return FSteps[FPos]; }
  void StepBack() { --FPos; }
  void StepForward() { ++FPos; }
  size_t Count() const { return FSteps.size(); }
  void MarkSaved() { FSaved = static_cast<long>(FPos); }
  void MarkUnsaved() { FSaved = -1; }
  bool AtSaved() const { return FSaved == static_cast<long>(FPos); }

 private:
  std::deque<TKUndoStep> FSteps;
  size_t FPos = 0;
  long FSaved = 0;
};
