// kvdemo: a host application with the form designer on its main form, a field list of its
// sample database, and a Run command that shows a design as a live form.
//
//   kvdemo [--new-form] [--open FILE] [--edit] [--report] [--dump FILE]
//
// The options run the matching command once the main window is up, so that scripted sessions
// can start where they want to look. With --report, every Run prints the components of the
// live form on standard output (ReportForm); --dump lets them see what the designer did (below).
#include <filesystem>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "Buttons.h"
#include "DemoData.h"
#include "DemoRun.h"
#include "Dialogs.h"
#include "ExtCtrls.h"
#include "Forms.h"
#include "KvFrmDsg.h"
#include "KvObjIns.h"
#include "KvPicEdt.h"
#include "KvTbNtBk.h"
#include "Menus.h"
#include "StdCtrls.h"
#include "SysUtils.h"
#include "Windows.h"

// The host's main window: its own commands, and a designer component that does the rest.
class TDemoForm : public TForm {
  KV_CLASS(TDemoForm, TForm)
 public:
  explicit TDemoForm(TComponent* AOwner) : TForm(AOwner) {
    SetName("DemoForm");
    SetCaption("Korvata Kit demo");
    SetBorderStyle(bsSingle);
    SetColor(clBtnFace);
    // Bottom left: the designer window takes the top of the screen, designs open below it.
    TRect work = GetWorkArea();
    SetBounds(work.Left + 8, work.Bottom - 262, 280, 250);

    Designer = new TKvFormDesigner(this);
    Designer->SetName("KvFormDesigner1");
    // Events are rows of the inspector too: a double click on a control shows its handler there.
    Designer->SetTypeKinds(KvDesignerTypeKinds | TypeKindBit(tkMethod));
    // The inspector stands at the left edge, beside the designs, which open at x = 200 below
    // the designer window (the window puts the inspector's top there too).
    if (TForm* inspector = Designer->ObjectInspector() ? Designer->ObjectInspector()->Form() : nullptr)
      inspector->SetBounds(0, inspector->GetTop(), 196, inspector->GetHeight());

    auto* menu = new TMainMenu(this);
    menu->SetName("MainMenu1");
    auto command = [this](const char* caption, TShortCut shortCut, void (TDemoForm::*action)()) {
      return NewItem(
          caption, shortCut, false, true, [this, action](TObject*) { Run(action); }, 0, "");
    };
    menu->Items()->Add(NewSubMenu(
        "&File", 0, "FileMenu",
        {command("&New form", 0, &TDemoForm::NewForm), command("&Open form...", 0, &TDemoForm::OpenForm),
         command("&Edit this form", 0, &TDemoForm::EditThisForm), NewLine(), command("E&xit", 0, &TDemoForm::Exit)}));
    menu->Items()->Add(NewSubMenu(
        "&View", 0, "ViewMenu",
        {command("&Designer window", 0, &TDemoForm::ShowDesigner), command("&Fields", 0, &TDemoForm::ShowFields)}));
    menu->Items()->Add(NewSubMenu("&Run", 0, "RunMenu", {command("&Run", 0, &TDemoForm::RunForm)}));
    SetMenu(menu);

    int top = 12;
    auto button = [&](const char* caption, void (TDemoForm::*action)()) {
      auto* b = new TButton(this);
      b->SetCaption(caption);
      b->SetBounds(16, top, 240, 28);
      b->SetParent(this);
      b->OnClick = [this, action](TObject*) { Run(action); };
      top += 36;
    };
    button("New form", &TDemoForm::NewForm);
    button("Open form...", &TDemoForm::OpenForm);
    button("Edit this form", &TDemoForm::EditThisForm);
    button("Run", &TDemoForm::RunForm);

    auto* note = new TLabel(this);
    note->SetParent(this);
    note->SetWordWrap(true);
    note->SetAutoSize(false);
    note->SetBounds(16, top + 4, 240, 60);
    note->SetCaption(
        "Drag fields onto a design; Run shows it with live data. Edit this form "
        "designs this window: File > Close in the designer window gives its buttons back.");

    OnCloseQuery = [this](TObject* sender, bool& canClose) { Designer->CloseQuery(sender, canClose); };
  }

  void NewForm() { Designer->NewForm(); }

  void OpenForm() {
    TOpenDialog dialog(nullptr);
    dialog.SetFilter("Delphi form (*.dfm)|*.dfm|All files (*.*)|*.*");
    if (dialog.Execute()) Designer->OpenForm(dialog.GetFileName());
  }

  void EditThisForm() { Designer->EditForm(this); }
  void ShowDesigner() { Designer->Show(); }
  void ShowFields() { Fields->Show(); }
  void Exit() { Close(); }

  void RunForm() {
    TKFormDesigner* design = Designer->FDesignerWindow->CurrentDesigner();
    if (!design) throw Exception("There is no design to run: open or create a form first.");
    TForm* form = RunDesign(design);
    if (Report) ReportForm(form, std::cout);
  }

  TKvFormDesigner* Designer;
  TDemoDataForm* Fields = nullptr;
  bool Report = false;

 private:
  // Commands report their failures as the application does for any event handler.
  void Run(void (TDemoForm::*action)()) {
    try {
      (this->*action)();
    } catch (...) {
      Application->HandleException(this);
    }
  }
};

KV_IMPLEMENT_CLASS(TDemoForm, "KvDemo") {}

std::string DumpInspector(TKvObjectInspector* inspector) {
  TfmKvObjIns* window = inspector ? inspector->Form() : nullptr;
  if (!window || !window->GetVisible() || !window->PropertyGrid->GetVisible()) return "";
  TStringGrid* grid = window->PropertyGrid;
  TPoint o = grid->ClientOrigin();
  std::string text = Format("inspector %d %d %d %d %d %d %d\n", o.X, o.Y, grid->RowHeights(0) + 1, grid->GetRow(),
                            grid->GetTopRow(), grid->VisibleRowCount(), grid->ColWidths(0));
  if (window->EditButton->GetVisible() && window->ValuePanel->GetVisible()) {
    TBitBtn* b = window->EditButton;
    TPoint c = b->ClientToScreen({b->GetWidth() / 2, b->GetHeight() / 2});
    text += Format("editbutton %d %d\n", c.X, c.Y);
  }
  for (int i = 0; i < grid->GetRowCount(); ++i)
    text += Format("row %d %s = %s\n", i, StripRowMarks(grid->Cells(0, i)).c_str(), grid->Cells(1, i).c_str());
  return text;
}

// --dump FILE: keeps FILE describing the current design, rewritten whole whenever it changes,
// for scripts that drive the designer with a real mouse:
//   palette X Y              screen origin of the palette page shown
//   form NAME X Y W H        screen origin and client size of the designed form
//   NAME CLASS PARENT L T W H [selected]   one line per control, bounds in its parent
//   inspector X Y PITCH ROW TOP SHOWN NAMEW   the inspector's grid: screen origin, row pitch,
//                            current row, first row shown, rows shown, width of the name column
//   editbutton X Y           screen centre of the inspector's ellipsis button, when shown
//   row I NAME = VALUE       one line per row of the inspector, as shown
// Non-visual components show their design position, as their icons do.
void StartDesignDump(TDemoForm* host, const std::string& path) {
  // Not the host's: "Edit this form" would show it as a component of the design.
  auto* timer = new TTimer(Application);
  timer->SetInterval(100);
  auto last = std::make_shared<std::string>();
  timer->SetOnTimer([host, path, last](TObject*) {
    std::string text;
    TKvTabbedNotebook* palette = host->Designer->KvTabbedNotebook1();
    if (palette && palette->GetPageIndex() >= 0) {
      TPoint p = palette->Page(palette->GetPageIndex())->ClientOrigin();
      text += Format("palette %d %d\n", p.X, p.Y);
    }
    TKFormDesigner* engine = host->Designer->FDesignerWindow->CurrentDesigner();
    if (engine) {
      TCustomForm* form = engine->GetForm();
      TPoint o = form->ClientOrigin();
      text += Format("form %s %d %d %d %d\n", form->GetName().c_str(), o.X, o.Y, form->GetClientWidth(),
                     form->GetClientHeight());
      TComponentList selection;
      engine->GetSelections(&selection);
      for (int i = 0; i < form->ComponentCount(); ++i) {
        TComponent* c = form->Components(i);
        if (!engine->Listable(c)) continue;
        TRect r;
        std::string parent = "-";
        if (auto* control = dynamic_cast<TControl*>(c)) {
          r = Bounds(control->GetLeft(), control->GetTop(), control->GetWidth(), control->GetHeight());
          parent = control->GetParent() ? control->GetParent()->GetName() : "-";
        } else {
          int32_t at = c->GetDesignInfo();
          r = Bounds(static_cast<int16_t>(at & 0xFFFF), static_cast<int16_t>(at >> 16), 28, 28);
        }
        text += Format("%s %s %s %d %d %d %d%s\n", c->GetName().c_str(), c->ClassName().c_str(), parent.c_str(), r.Left,
                       r.Top, r.Width(), r.Height(), selection.IndexOf(c) >= 0 ? " selected" : "");
      }
    }
    text += DumpInspector(host->Designer->ObjectInspector());
    if (text == *last) return;
    *last = text;
    WriteFileAtomic(path, text);
  });
}

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  Application->Initialize();
  // The designer component registers the standard classes, the kit's own and their palette
  // bitmaps itself; pictures, glyphs and icons get the picture editor in the inspector.
  RegisterPictureEditors();
  std::filesystem::path exeDir = std::filesystem::canonical("/proc/self/exe").parent_path();
  Application->SetTitle("Korvata Kit demo");

  TDemoForm* form;
  Application->CreateForm(form);
  Application->CreateForm(form->Fields);
  form->Fields->SetBounds(form->GetLeft() + form->GetWidth() + 8, form->GetTop(), 240, form->GetHeight());
  try {
    form->Fields->OpenDatabase((exeDir / "kvdemo.db").string());
  } catch (const Exception& e) {
    Application->ShowException(e);  // the field list stays empty
  }
  form->Show();
  form->Fields->Show();
  for (size_t i = 0; i < args.size(); ++i) {
    try {
      if (args[i] == "--new-form") form->NewForm();
      else if (args[i] == "--report") form->Report = true;
      else if (args[i] == "--edit") form->EditThisForm();
      else if (args[i] == "--open" && i + 1 < args.size()) form->Designer->OpenForm(args[++i]);
      else if (args[i] == "--dump" && i + 1 < args.size()) StartDesignDump(form, args[++i]);
    } catch (...) {
      Application->HandleException(form);
    }
  }
  Application->Run();
  return 0;
}
