// The dialog backend as the dialogs unit sees it, free of Qt types: Qt's non-native dialogs,
// run modally (the find dialogs modelessly). Implemented in QtDialogs.cpp.
#pragma once

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "../Types.h"

class TFont;
class TFindDialog;

namespace qtd {

struct TFileRequest {
  std::string Title;
  std::string InitialDir;
  std::string FileName;
  std::vector<std::pair<std::string, std::string>> Filters;  // description, "*.a;*.b"
  int FilterIndex = 1;                                       // 1-based
  bool Save = false;
  bool MultiSelect = false;
};
// Runs the file dialog; accept(files, filterIndex) decides whether the choice closes it.
bool ExecuteFileDialog(const TFileRequest& request,
                       const std::function<bool(const std::vector<std::string>&, int)>& accept);
bool ExecuteFontDialog(TFont* font, const std::string& title);
// colour and custom colours as 0x00BBGGRR.
bool ExecuteColorDialog(int& color, std::vector<int>& custom, bool fullOpen);

struct TButtonSpec {
  std::string Caption;
  int Result;
};
// type: TMsgDlgType; x, y: the screen position, or -1 for centred. The chosen button's result.
int MessageDialog(const std::string& text, const std::string& caption, int type,
                  const std::vector<TButtonSpec>& buttons, int defaultIndex, int x, int y);
bool InputQuery(const std::string& caption, const std::string& prompt, std::string& value);

// The find / replace window of a dialog component, shown modelessly.
void ShowFindDialog(TFindDialog* dialog, bool replace);
void CloseFindDialog(TFindDialog* dialog);
bool FindDialogShowing(TFindDialog* dialog);

}  // namespace qtd
