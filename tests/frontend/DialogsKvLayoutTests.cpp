// The dialogs as they show: every control inside its parent and every caption with room, and a
// picture of each in the build tree (dialogs-<class>.png) for a person to look at.
#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include "DialogsUser.h"
#include "KvAlign.h"
#include "KvAlignP.h"
#include "KvConfrm.h"
#include "KvSelFrm.h"
#include "KvSize.h"
#include "KvToolOp.h"
#include "Menus.h"

namespace {

#ifndef KV_BIN_DIR
#define KV_BIN_DIR "."
#endif

// Room a caption needs besides its text: a check mark, a radio dot, a glyph, a button's edges.
int CaptionMargin(TControl* c) {
  if (Cast<TCustomCheckBox>(c) || Cast<TRadioButton>(c)) return 20;
  if (auto* b = Cast<TBitBtn>(c))
    return b->GetGlyph()->GetWidth() / std::max(1, b->GetNumGlyphs()) + b->GetSpacing() + 8;
  return 8;
}

void ExpectFits(TCustomForm* dialog, TWinControl* parent, const std::string& path) {
  TCanvas* measure = dialog->Canvas();
  const TRect client = parent->GetClientRect();
  for (int i = 0; i < parent->ControlCount(); ++i) {
    TControl* c = parent->Controls(i);
    const std::string name = path + "." + (c->GetName().empty() ? c->GetText() : c->GetName());
    const TRect r = c->BoundsRect();
    // A radio group places its own buttons.
    if (c->GetOwner() == dialog) {
      EXPECT_TRUE(r.Left >= client.Left && r.Top >= client.Top && r.Right <= client.Right && r.Bottom <= client.Bottom)
          << name << " (" << r.Left << ", " << r.Top << ", " << r.Right << ", " << r.Bottom
          << ") leaves its parent's client area";
    }
    if (Cast<TButtonControl>(c) && !c->GetText().empty()) {
      measure->SetFont(c->GetFont());
      EXPECT_LE(measure->TextWidth(StripHotkey(c->GetText())) + CaptionMargin(c), c->GetWidth())
          << name << "'s caption is clipped";
    }
    if (auto* w = Cast<TWinControl>(c)) ExpectFits(dialog, w, name);
  }
}

void CheckAndPicture(TCustomForm* dialog) {
  dialog->Show();
  for (int i = 0; i < 5; ++i) Application->ProcessMessages();
  ExpectFits(dialog, dialog, dialog->GetName());
  TBitmap shot;
  GrabWindow(dialog, &shot);
  EXPECT_EQ(shot.GetWidth(), dialog->GetWidth());
  std::string file = KV_BIN_DIR "/../dialogs-";
  file.append(dialog->ClassName()).append(".png");
  shot.SaveToPngFile(file);
  dialog->Hide();
}

TEST(KvDialogsLayout, EveryControlFitsInEveryDialog) {
  TDialogUser user;  // registers the classes
  {
    auto d = std::make_unique<TfmKvToolOp>(Application);
    CheckAndPicture(d.get());
  }
  {
    auto d = std::make_unique<TfmKvConfrm>(Application);
    d->MsgLabel->SetCaption("Save changes to a form with a rather long name, Form12345?");
    CheckAndPicture(d.get());
  }
  {
    auto d = std::make_unique<TfmKvSelFrm>(Application);
    d->Edit1->SetText("Form2");
    d->ListBox1->GetItems()->SetText("Form1\r\nForm2\r\nAboutBox\r\n");
    CheckAndPicture(d.get());
  }
  {
    auto d = std::make_unique<TfmKvAlign>(Application);
    CheckAndPicture(d.get());
  }
  {
    auto d = std::make_unique<TfmKvSize>(Application);
    d->WidthGroup->SetItemIndex(3);
    d->edWidth->SetEnabled(true);
    d->edWidth->SetText("120");
    CheckAndPicture(d.get());
  }
  {
    auto d = std::make_unique<TfmKvAlignP>(Application);
    CheckAndPicture(d.get());
  }
}

TEST(KvConfrm, EachButtonAnswersItsKindAndTheQuestionIsDrawn) {
  TDialogUser user;
  auto dialog = std::make_unique<TfmKvConfrm>(Application);
  EXPECT_EQ(dialog->MsgLabel->GetCaption(), "Save changes to ");
  EXPECT_TRUE(dialog->MsgLabel->GetFont()->GetStyle().Contains(fsBold));
  TGraphic* picture = dialog->Image1->GetPicture()->GetGraphic();
  ASSERT_NE(picture, nullptr);
  EXPECT_EQ(picture->GetWidth(), 37);
  EXPECT_EQ(picture->GetHeight(), 37);
  const std::pair<TBitBtn*, TModalResult> answers[] = {
      {dialog->BitBtn1, mrYes}, {dialog->BitBtn2, mrNo}, {dialog->BitBtn3, mrCancel}};
  for (const auto& [answer, result] : answers) {
    TBitBtn* button = answer;  // clang 14 cannot capture a structured binding
    user.Then([button] { TDialogUser::Click(button); });
    EXPECT_EQ(user.Run(dialog.get()), result) << button->GetName();
  }
  user.Then([&] { TDialogUser::PressKey(dialog->BitBtn1, VK_ESCAPE); });
  EXPECT_EQ(user.Run(dialog.get()), mrCancel) << "Escape keeps the changes: it is not No";
}

}  // namespace
