#include "DesignerFixture.h"

#include "KvReg.h"
#include "StdReg.h"

namespace {

// Gets one posted message, delivered by the modal loop of the dialog under test, answers that
// dialog and releases itself.
class TModalAnswerer : public TForm {
 public:
  TModalAnswerer(TModalResult result, std::function<void(TCustomForm*)> fill)
      : TForm(nullptr), FResult(result), FFill(std::move(fill)) {}
  void WndProc(TMessage& m) override {
    if (m.Msg != WM_USER + 77) return TForm::WndProc(m);
    for (int i = 0; i < Screen->FormCount(); ++i) {
      TCustomForm* f = Screen->Forms(i);
      if (f->FormState.Contains(fsModal)) {
        if (FFill) FFill(f);
        f->SetModalResult(FResult);
        break;
      }
    }
    Release();
  }

 private:
  TModalResult FResult;
  std::function<void(TCustomForm*)> FFill;
};

}  // namespace

void AnswerNextModal(TModalResult result, std::function<void(TCustomForm*)> fill) {
  auto* answerer = new TModalAnswerer(result, std::move(fill));
  PostMessage(answerer, WM_USER + 77, 0, 0);
}

void DesignerTest::SetUp() {
  RegisterStandardClasses();
  KvReg::Register();
  Host = new TForm(Application);
  Host->SetName("HostForm");
  Designer = new TKvFormDesigner(Host);
  Designer->SetName("KvFormDesigner1");
  Designer->NewForm();
  Engine = Designer->FDesignerWindow->CurrentDesigner();
  ASSERT_NE(Engine, nullptr);
  Engine->OnDesignerDestroy = [](TObject*) { return true; };
  Application->ProcessMessages();
}

void DesignerTest::TearDown() {
  delete Host;  // the designer component, its window and the designs go with it
  Application->ProcessMessages();
}

void DesignerTest::Press(TPoint p, intptr_t keys) { SendInput(Form(), WM_LBUTTONDOWN, p, MK_LBUTTON | keys); }

void DesignerTest::MoveTo(TPoint p, intptr_t keys) { SendInput(Form(), WM_MOUSEMOVE, p, keys); }

void DesignerTest::Release(TPoint p) { SendInput(Form(), WM_LBUTTONUP, p); }

void DesignerTest::Drag(TPoint from, TPoint to, intptr_t keys) {
  Press(from, keys);
  MoveTo(to, MK_LBUTTON | keys);
  Release(to);
}

std::vector<TComponent*> DesignerTest::Selection() const {
  TComponentList list;
  Engine->GetSelections(&list);
  std::vector<TComponent*> out;
  for (int i = 0; i < list.Count(); ++i) out.push_back(list[i]);
  return out;
}
