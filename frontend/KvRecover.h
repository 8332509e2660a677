// KvRecover: recovery copies of modified designs. After a change a copy of the design's form
// file goes into the recovery folder (at most once per interval; later changes wait for the
// timer); saving or closing the design removes it. Each designer window is a session holding
// a lock on a file of its own, so the copies of a session whose lock is free are what a crash
// left behind, and the next session offers them.
#pragma once

#include <chrono>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "ExtCtrls.h"
#include "SysUtils.h"

class TKFormDesigner;

// A copy a session that ended without closing its designs left behind.
struct TKvRecoveredDesign {
  std::string CopyFile;  // the form file of the copy
  std::string FileName;  // the design's own file, "" for a design never saved
  std::string FormName;
  std::string Saved;  // when the copy was written, as local time
};

class TKvRecovery {
 public:
  explicit TKvRecovery(TComponent* timerOwner);
  ~TKvRecovery();

  // The folder of the copies; "" writes none. Copies written so far are removed; the next
  // change of a design writes its copy in the new folder.
  void SetFolder(const std::string& folder);
  const std::string& Folder() const { return FFolder; }
  static std::string DefaultFolder();
  void SetInterval(unsigned milliseconds) { FInterval = std::chrono::milliseconds(milliseconds); }

  // A gesture changed the design: its copy is written now or when the interval is up.
  void Changed(TKFormDesigner* design);
  // Writes the design's copy now, whatever the interval.
  void WriteNow(TKFormDesigner* design);
  // The design was saved or closed: its copy goes.
  void Forget(TKFormDesigner* design);
  // The design closes unsaved as the application ends: its copy is brought up to date and
  // stays, with this session's lock file, for the next session to offer.
  void Keep(TKFormDesigner* design);
  // The copy of a design, "" when there is none.
  std::string CopyOf(TKFormDesigner* design) const;

  // The copies of sessions that are no longer running, oldest first (the locks of such sessions
  // that left no copy are removed on the way).
  std::vector<TKvRecoveredDesign> Orphans();
  // Removes an orphan copy (restored or declined), and its session's lock when it was the last.
  static void Discard(const TKvRecoveredDesign& copy);

 private:
  struct TCopy {
    std::string Base;  // the copy's path without extension
    bool Pending = false;
  };
  void OnTimer(TObject* sender);
  void WritePending();
  void Write(TKFormDesigner* design, TCopy& copy);
  bool StartSession();
  void EndSession();

  TTimer* FTimer;
  std::string FFolder;
  std::string FSession;  // path prefix of this session's files
  std::unique_ptr<TFileLock> FLock;
  std::map<TKFormDesigner*, TCopy> FCopies;
  int FNextNumber = 1;
  std::chrono::milliseconds FInterval{30000};
  std::chrono::steady_clock::time_point FLastWrite{};
  bool FWrote = false;
  bool FKeepSession = false;  // copies were kept: the lock file stays to mark them
};
