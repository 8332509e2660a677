// The alignment palette: each button runs its alignment on the current design, none without one.
#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include "DialogsUser.h"
#include "DsgnIntf.h"
#include "KvAlignP.h"
#include "KvDsgn.h"

namespace {

// Three selected buttons of different places and sizes on a host form under design.
class KvAlignPTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Live = std::make_unique<TForm>(Application);
    Live->SetName("AlignHost");
    Live->SetBounds(0, 0, 400, 300);
    for (int i = 0; i < 3; ++i) {
      Buttons[i] = new TButton(Live.get());
      Buttons[i]->SetName("Button" + std::to_string(i + 1));
      Buttons[i]->SetParent(Live.get());
    }
    Engine = new TKFormDesigner(nullptr, nullptr, "", Live.get());
    Palette = std::make_unique<TfmKvAlignP>(Application);
  }
  void TearDown() override { Engine->Destroy(); }
  void PlaceAndSelect() {
    Buttons[0]->SetBounds(10, 10, 75, 25);
    Buttons[1]->SetBounds(50, 70, 40, 41);
    Buttons[2]->SetBounds(31, 150, 60, 30);
    TComponentList list;
    for (TButton* b : Buttons) list.Add(b);
    Engine->SetSelections(&list);
  }
  std::vector<TRect> Places() const {
    return {Buttons[0]->BoundsRect(), Buttons[1]->BoundsRect(), Buttons[2]->BoundsRect()};
  }

  TDialogUser User;  // registers the classes
  std::unique_ptr<TForm> Live;
  TButton* Buttons[3] = {};
  TKFormDesigner* Engine = nullptr;
  std::unique_ptr<TfmKvAlignP> Palette;
};

TEST_F(KvAlignPTest, EachButtonRunsItsAlignmentOnTheDesign) {
  using TOp = void (TKFormDesigner::*)(TObject*);
  const struct {
    TSpeedButton* Button;
    const char* Hint;
    TOp Op;
  } table[] = {
      {Palette->SpeedButton1, "Align left edges", &TKFormDesigner::AlignLeft},
      {Palette->SpeedButton2, "Align horizontal centers", &TKFormDesigner::AlignHorizCenter},
      {Palette->SpeedButton3, "Center horizontally in window", &TKFormDesigner::AlignHorizCenterWindow},
      {Palette->SpeedButton4, "Space equally, horizontally", &TKFormDesigner::AlignHorizSpaceEqually},
      {Palette->SpeedButton5, "Align right edges", &TKFormDesigner::AlignRight},
      {Palette->SpeedButton6, "Align tops", &TKFormDesigner::AlignTops},
      {Palette->SpeedButton7, "Align vertical centers", &TKFormDesigner::AlignVertCenter},
      {Palette->SpeedButton8, "Center vertically in window", &TKFormDesigner::AlignVertCenterWindow},
      {Palette->SpeedButton9, "Space equally, vertically", &TKFormDesigner::AlignVertSpaceEqually},
      {Palette->SpeedButton10, "Align bottoms", &TKFormDesigner::AlignBottoms},
  };
  Palette->Designer = Engine;
  for (const auto& row : table) {
    EXPECT_EQ(row.Button->GetHint(), row.Hint);
    EXPECT_EQ(row.Button->GetGlyph()->GetWidth(), 20) << row.Hint;
    PlaceAndSelect();
    const std::vector<TRect> before = Places();
    std::invoke(row.Op, Engine, nullptr);
    const std::vector<TRect> expected = Places();
    PlaceAndSelect();
    row.Button->Click();
    EXPECT_EQ(Places(), expected) << row.Hint;
    EXPECT_NE(Places(), before) << row.Hint << " moved nothing";
  }
}

TEST_F(KvAlignPTest, WithoutADesignTheButtonsDoNothing) {
  PlaceAndSelect();
  const std::vector<TRect> before = Places();
  for (TSpeedButton* b : {Palette->SpeedButton1, Palette->SpeedButton5, Palette->SpeedButton10}) b->Click();
  EXPECT_EQ(Places(), before);
}

}  // namespace
