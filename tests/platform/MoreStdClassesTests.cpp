// The media player, spin button, colour grid, Win 3.1 header and cool bar: behaviour driven by
// real mouse and key messages, bad input, and streaming as Delphi streams them.
#include <gtest/gtest.h>

#include <memory>

#include "ColorGrd.h"
#include "ComCtrls.h"
#include "DBGrids.h"
#include "ExtCtrls.h"
#include "FormFixture.h"
#include "FormText.h"
#include "MPlayer.h"
#include "Spin.h"
#include "StdCtrls.h"
#include "StdReg.h"
#include "StreamCheck.h"

namespace {

struct MoreStdFixture : FormFixture {
  void SetUp() override {
    FormFixture::SetUp();
    form->SetBounds(0, 0, 600, 400);
  }
  static intptr_t Pos(int x, int y) { return (static_cast<intptr_t>(y) << 16) | (x & 0xFFFF); }
  static void Click(TControl* c, int x, int y, bool right = false) {
    c->Perform(right ? WM_RBUTTONDOWN : WM_LBUTTONDOWN, right ? MK_RBUTTON : MK_LBUTTON, Pos(x, y));
    c->Perform(right ? WM_RBUTTONUP : WM_LBUTTONUP, 0, Pos(x, y));
  }
};

// --- TMediaPlayer ---------------------------------------------------------------------------
TEST_F(MoreStdFixture, MediaPlayerHasNoDeviceAndSaysSoAsMciDoes) {
  auto* mp = Add<TMediaPlayer>("MediaPlayer1");
  EXPECT_EQ(mp->Mode(), mpNotReady);
  try {
    mp->Open();
    FAIL() << "Open succeeded";
  } catch (const EMCIDeviceError& e) {
    EXPECT_STREQ(e.what(), "The specified device is not installed on the system.");
  }
  EXPECT_EQ(mp->Error(), TMediaPlayer::MciErrDeviceNotInstalled);
  mp->SetFileName("/no/such/file.mid");
  EXPECT_THROW(mp->Open(), EMCIDeviceError);
  EXPECT_EQ(mp->Error(), TMediaPlayer::MciErrFileNotFound);
  EXPECT_NE(mp->ErrorMessage().find("Cannot find the specified file"), std::string::npos);
  for (auto action :
       {&TMediaPlayer::Play, &TMediaPlayer::Pause, &TMediaPlayer::Stop, &TMediaPlayer::Next, &TMediaPlayer::Previous,
        &TMediaPlayer::Step, &TMediaPlayer::Back, &TMediaPlayer::StartRecording, &TMediaPlayer::Eject}) {
    try {
      (mp->*action)();
      ADD_FAILURE() << "an action worked without a device";
    } catch (const EMCIDeviceError& e) {
      EXPECT_STREQ(e.what(), "No MCI device open");
    }
  }
  mp->Close();  // closing a closed player is fine
  EXPECT_EQ(mp->Mode(), mpNotReady);
}

TEST_F(MoreStdFixture, MediaPlayerButtonsClickThroughOnClickAndOnPostClick) {
  auto* mp = Add<TMediaPlayer>("MediaPlayer1");
  // At run time a closed player with AutoEnable has every button disabled.
  EXPECT_FALSE(mp->ButtonEnabled(btPlay));
  std::vector<TMPBtnType> clicked, posted;
  bool doDefault = false;
  mp->OnClick = [&](TObject*, TMPBtnType b, bool& d) { clicked.push_back(b), d = doDefault; };
  mp->OnPostClick = [&](TObject*, TMPBtnType b) { posted.push_back(b); };
  TRect play = mp->ButtonRect(btPlay);
  Click(mp, play.Left + 5, 10);
  EXPECT_TRUE(clicked.empty());

  mp->SetAutoEnable(false);
  mp->SetVisibleButtons(MPlayer::TButtonSet{btPlay, btStop, MPlayer::btNext});
  mp->SetEnabledButtons(MPlayer::TButtonSet{btPlay, MPlayer::btNext});
  // Three visible buttons share the width; Next is the third.
  TRect next = mp->ButtonRect(MPlayer::btNext);
  EXPECT_EQ(next.Left, 2 * ((mp->GetWidth() - 1) / 3));
  EXPECT_TRUE(IsRectEmpty(mp->ButtonRect(btPause)));
  Click(mp, next.Left + 5, 10);
  EXPECT_EQ(clicked, std::vector<TMPBtnType>{MPlayer::btNext});
  EXPECT_EQ(posted, std::vector<TMPBtnType>{MPlayer::btNext});
  // Stop is disabled; a press that leaves its button before the release clicks nothing.
  TRect stop = mp->ButtonRect(btStop);
  Click(mp, stop.Left + 5, 10);
  mp->Perform(WM_LBUTTONDOWN, MK_LBUTTON, Pos(mp->ButtonRect(btPlay).Left + 5, 10));
  mp->Perform(WM_LBUTTONUP, 0, Pos(next.Left + 5, 10));
  EXPECT_EQ(clicked.size(), 1u);
  // The keyboard walks the visible buttons from the last one pressed and presses with space.
  mp->Perform(WM_KEYDOWN, VK_RIGHT, 0);
  mp->Perform(WM_KEYDOWN, VK_RIGHT, 0);
  mp->Perform(WM_KEYDOWN, VK_RIGHT, 0);  // already on the last
  mp->Perform(WM_KEYDOWN, VK_SPACE, 0);
  EXPECT_EQ(clicked, (std::vector<TMPBtnType>{MPlayer::btNext, MPlayer::btNext}));
  // With the default action the player's own command fails for want of a device.
  doDefault = true;
  EXPECT_THROW(mp->ClickButton(btPlay), EMCIDeviceError);
  EXPECT_EQ(clicked.back(), btPlay);
}

// AutoOpen opens at load time; without a device the form still loads and the error is kept.
TEST_F(MoreStdFixture, MediaPlayerAutoOpenDoesNotStopAFormFromLoading) {
  std::unique_ptr<TForm> f;
  ASSERT_NO_THROW(f = ReadFormText("object Form1: TForm\n"
                                   "  object MediaPlayer1: TMediaPlayer\n"
                                   "    Left = 8\n    Top = 8\n    Width = 253\n    Height = 30\n"
                                   "    AutoOpen = True\n    DeviceType = dtSequencer\n"
                                   "    FileName = 'data\\jingle-1.mid'\n    VisibleButtons = [btPlay, btStop]\n"
                                   "  end\nend\n"));
  auto* mp = Cast<TMediaPlayer>(f->FindComponent("MediaPlayer1"));
  ASSERT_NE(mp, nullptr);
  EXPECT_EQ(mp->Mode(), mpNotReady);
  EXPECT_EQ(mp->Error(), TMediaPlayer::MciErrFileNotFound);
  EXPECT_EQ(mp->GetDeviceType(), dtSequencer);
  EXPECT_TRUE(mp->GetVisibleButtons() == (MPlayer::TButtonSet{btPlay, btStop}));
}

TEST_F(MoreStdFixture, MediaPlayerRoundTrip) {
  auto* mp = Add<TMediaPlayer>("MediaPlayer1");
  auto* display = Add<TPanel>("Panel1");
  mp->SetVisibleButtons(MPlayer::TButtonSet{btPlay, btPause, MPlayer::btPrev});
  mp->SetColoredButtons(MPlayer::TButtonSet{});
  mp->SetAutoRewind(false);
  mp->SetDeviceType(dtWaveAudio);
  mp->SetFileName("sound.wav");
  mp->SetDisplay(display);
  std::string text = ExpectRoundTrip(form.get(), mp);
  ExpectDefaultsOmitted(mp, text);
  EXPECT_NE(text.find("VisibleButtons = [btPlay, btPause, btPrev]"), std::string::npos) << text;
  EXPECT_NE(text.find("ColoredButtons = []"), std::string::npos) << text;
  EXPECT_NE(text.find("Display = Panel1"), std::string::npos) << text;
  EXPECT_EQ(text.find("EnabledButtons"), std::string::npos) << text;
  delete display;
  EXPECT_EQ(mp->GetDisplay(), nullptr);
}

// --- TSpinButton ----------------------------------------------------------------------------
TEST_F(MoreStdFixture, SpinButtonClicksByHalfAndRepeatsWhileHeld) {
  auto* spin = Add<TSpinButton>("SpinButton1");
  int up = 0, down = 0;
  spin->OnUpClick = [&](TObject*) { ++up; };
  spin->OnDownClick = [&](TObject*) { ++down; };
  Click(spin, 10, 3);
  EXPECT_EQ(up, 1);
  Click(spin, 10, 20);
  EXPECT_EQ(down, 1);
  // Leaving the button before the release cancels the click.
  spin->Perform(WM_LBUTTONDOWN, MK_LBUTTON, Pos(10, 3));
  EXPECT_EQ(spin->PressedButton(), 0);
  spin->Perform(WM_MOUSEMOVE, MK_LBUTTON, Pos(10, 20));
  EXPECT_EQ(spin->PressedButton(), -1);
  spin->Perform(WM_LBUTTONUP, 0, Pos(40, 20));
  EXPECT_EQ(up, 1);
  EXPECT_EQ(down, 1);
  // Held: the timer starts with the initial pause, then repeats faster.
  spin->Perform(WM_LBUTTONDOWN, MK_LBUTTON, Pos(10, 20));
  TTimer* timer = spin->RepeatTimer();
  EXPECT_TRUE(timer->GetEnabled());
  EXPECT_EQ(timer->GetInterval(), TSpinButton::InitRepeatPause);
  timer->GetOnTimer()(timer);
  timer->GetOnTimer()(timer);
  EXPECT_EQ(down, 3);
  EXPECT_EQ(timer->GetInterval(), TSpinButton::RepeatPause);
  spin->Perform(WM_LBUTTONUP, 0, Pos(10, 20));
  EXPECT_EQ(down, 4);
  EXPECT_FALSE(timer->GetEnabled());
  timer->GetOnTimer()(timer);  // a late tick after the release does nothing
  EXPECT_EQ(down, 4);
  // The arrow keys.
  spin->Perform(WM_KEYDOWN, VK_UP, 0);
  spin->Perform(WM_KEYDOWN, VK_DOWN, 0);
  EXPECT_EQ(up, 2);
  EXPECT_EQ(down, 5);
}

TEST_F(MoreStdFixture, SpinButtonStreamsGlyphsOnlyWhenSet) {
  auto* spin = Add<TSpinButton>("SpinButton1");
  auto* edit = Add<TEdit>("Edit1");
  spin->SetFocusControl(edit);
  std::string text = ExpectRoundTrip(form.get(), spin);
  ExpectDefaultsOmitted(spin, text);
  EXPECT_EQ(text.find("Glyph"), std::string::npos) << text;
  EXPECT_NE(text.find("FocusControl = Edit1"), std::string::npos) << text;
  TBitmap glyph;
  glyph.SetSize(18, 9);
  glyph.Canvas()->GetBrush()->SetColor(clRed);
  glyph.Canvas()->FillRect(Rect(0, 0, 18, 9));
  spin->SetUpGlyph(&glyph);
  spin->SetUpNumGlyphs(2);
  text = ExpectRoundTrip(form.get(), spin);
  EXPECT_NE(text.find("UpGlyph.Data"), std::string::npos) << text;
  EXPECT_NE(text.find("UpNumGlyphs = 2"), std::string::npos) << text;
  EXPECT_EQ(text.find("DownGlyph"), std::string::npos) << text;
  delete edit;
  EXPECT_EQ(spin->GetFocusControl(), nullptr);
}

// --- TColorGrid -----------------------------------------------------------------------------
TEST_F(MoreStdFixture, ColorGridPicksForegroundAndBackgroundByButton) {
  auto* grid = Add<TColorGrid>("ColorGrid1");  // 100 x 100, 4 x 4 cells of 25
  int changes = 0;
  grid->OnChange = [&](TObject*) { ++changes; };
  Click(grid, 30, 5);  // column 1, row 0: maroon
  EXPECT_EQ(grid->GetForegroundIndex(), 1);
  EXPECT_EQ(grid->ForegroundColor(), clMaroon);
  Click(grid, 80, 80, true);  // column 3, row 3: white
  EXPECT_EQ(grid->GetBackgroundIndex(), 15);
  EXPECT_EQ(grid->BackgroundColor(), clWhite);
  EXPECT_EQ(grid->GetSelection(), 15);
  EXPECT_EQ(changes, 2);
  // A disabled mark does not follow clicks unless ClickEnablesColor turns it on.
  grid->SetForegroundEnabled(false);
  Click(grid, 5, 55);
  EXPECT_EQ(grid->GetForegroundIndex(), 1);
  grid->SetClickEnablesColor(true);
  Click(grid, 5, 55);
  EXPECT_TRUE(grid->GetForegroundEnabled());
  EXPECT_EQ(grid->GetForegroundIndex(), 8);
  // Other orderings lay the same 16 colours out differently.
  grid->SetGridOrdering(go16x1);
  grid->SetBounds(0, 0, 160, 20);
  EXPECT_EQ(grid->ColorAt(155, 10), 15);
  EXPECT_EQ(grid->ColorAt(161, 10), -1);
  grid->SetGridOrdering(go2x8);
  EXPECT_EQ(grid->Columns(), 2);
  EXPECT_EQ(grid->Rows(), 8);
  EXPECT_THROW(grid->SetForegroundIndex(16), ERangeError);
  EXPECT_THROW(grid->SetSelection(-1), ERangeError);
  EXPECT_EQ(grid->GetForegroundIndex(), 8);
  // Keys move the selection and pick it.
  grid->SetGridOrdering(go4x4);
  grid->SetSelection(0);
  grid->Perform(WM_KEYDOWN, VK_RIGHT, 0);
  grid->Perform(WM_KEYDOWN, VK_DOWN, 0);
  EXPECT_EQ(grid->GetSelection(), 5);
  grid->Perform(WM_KEYDOWN, VK_SPACE, 0);
  EXPECT_EQ(grid->GetForegroundIndex(), 5);
}

TEST_F(MoreStdFixture, ColorGridRoundTrip) {
  auto* grid = Add<TColorGrid>("ColorGrid1");
  grid->SetForegroundIndex(4);
  grid->SetBackgroundEnabled(false);
  grid->SetGridOrdering(go8x2);
  std::string text = ExpectRoundTrip(form.get(), grid);
  ExpectDefaultsOmitted(grid, text);
  EXPECT_NE(text.find("ForegroundIndex = 4"), std::string::npos) << text;
  EXPECT_NE(text.find("BackgroundEnabled = False"), std::string::npos) << text;
  EXPECT_EQ(text.find("BackgroundIndex"), std::string::npos) << text;
}

// --- THeader --------------------------------------------------------------------------------
TEST_F(MoreStdFixture, HeaderSectionsResizeByDraggingTheirEdges) {
  auto* header = Add<THeader>("Header1");
  header->GetSections()->SetText("Name\r\nSize\r\nDate\r\n");
  ASSERT_EQ(header->SectionCount(), 3);
  header->SetSectionWidth(0, 100);
  header->SetSectionWidth(1, 60);
  std::vector<std::pair<int, int>> sizing, sized;
  header->OnSizing = [&](TObject*, int s, int w) { sizing.emplace_back(s, w); };
  header->OnSized = [&](TObject*, int s, int w) { sized.emplace_back(s, w); };
  // The edge of section 1 is at 1 (border) + 100 + 60.
  EXPECT_EQ(header->SectionEdgeAt(161), 1);
  EXPECT_EQ(header->SectionEdgeAt(130), -1);
  header->Perform(WM_LBUTTONDOWN, MK_LBUTTON, Pos(161, 10));
  header->Perform(WM_MOUSEMOVE, MK_LBUTTON, Pos(191, 10));
  header->Perform(WM_LBUTTONUP, 0, Pos(191, 10));
  EXPECT_EQ(header->GetSectionWidth(1), 90);
  EXPECT_EQ(sizing, (std::vector<std::pair<int, int>>{{1, 90}}));
  EXPECT_EQ(sized, (std::vector<std::pair<int, int>>{{1, 90}}));
  // Dragging past the section's start leaves it empty, not negative.
  header->Perform(WM_LBUTTONDOWN, MK_LBUTTON, Pos(101, 10));
  header->Perform(WM_MOUSEMOVE, MK_LBUTTON, Pos(-50, 10));
  header->Perform(WM_LBUTTONUP, 0, Pos(-50, 10));
  EXPECT_EQ(header->GetSectionWidth(0), 0);
  header->SetSectionWidth(0, 100);
  header->SetAllowResize(false);
  header->Perform(WM_LBUTTONDOWN, MK_LBUTTON, Pos(101, 10));
  header->Perform(WM_MOUSEMOVE, MK_LBUTTON, Pos(150, 10));
  header->Perform(WM_LBUTTONUP, 0, Pos(150, 10));
  EXPECT_EQ(header->GetSectionWidth(0), 100);
  // Widths follow their sections when another is inserted before them.
  header->GetSections()->Insert(0, "Icon");
  EXPECT_EQ(header->GetSectionWidth(0), THeader::DefaultSectionWidth);
  EXPECT_EQ(header->GetSectionWidth(1), 100);
  EXPECT_EQ(header->GetSectionWidth(2), 90);
  EXPECT_THROW(header->GetSectionWidth(4), EListError);
  EXPECT_THROW(header->SetSectionWidth(-1, 5), EListError);
}

TEST_F(MoreStdFixture, HeaderStreamsWidthsAsInternalSections) {
  auto* header = Add<THeader>("Header1");
  header->GetSections()->SetText("Name\r\nSize\r\n");
  header->SetSectionWidth(0, 120);
  header->SetSectionWidth(1, 45);
  header->SetBorderStyle(bsNone);
  std::string text = ExpectRoundTrip(form.get(), header);
  ExpectDefaultsOmitted(header, text);
  EXPECT_NE(text.find("InternalSections = (\r\n      120\r\n      45)"), std::string::npos) << text;
  EXPECT_LT(text.find("Sections.Strings"), text.find("InternalSections")) << text;
  auto copy = Reload();
  auto* h2 = Cast<THeader>(copy->FindComponent("Header1"));
  ASSERT_NE(h2, nullptr);
  EXPECT_EQ(h2->GetSectionWidth(0), 120);
  EXPECT_EQ(h2->GetSectionWidth(1), 45);
  // Also read: "width,text" items, which bring their texts with them.
  auto f = ReadFormText(
      "object Form1: TForm\n  object Header1: THeader\n"
      "    InternalSections = (\n      '70,First'\n      '30,Second')\n  end\nend\n");
  auto* h3 = Cast<THeader>(f->FindComponent("Header1"));
  ASSERT_EQ(h3->SectionCount(), 2);
  EXPECT_EQ(h3->GetSections()->Get(1), "Second");
  EXPECT_EQ(h3->GetSectionWidth(0), 70);
  EXPECT_THROW(ReadFormText("object Form1: TForm\n  object Header1: THeader\n"
                            "    InternalSections = (\n      'wide,First')\n  end\nend\n"),
               EReadError);
}

// --- TCoolBar -------------------------------------------------------------------------------
// Band 0 as a real Delphi 5 form has it: the tool bar sits after the grip, as wide as the band
// less the grip and margin, as tall as MinHeight; the edges lie outside the client area.
TEST_F(MoreStdFixture, CoolBarPlacesBandControlsAsTheRebarDoes) {
  auto f = ReadFormText(
      "object Form1: TForm\n  Width = 900\n  Height = 300\n"
      "  object CoolBar: TCoolBar\n    Align = alNone\n    Left = 1\n    Top = 1\n    Width = 855\n    Height = 48\n"
      "    Bands = <\n      item\n        Control = ToolBar\n        ImageIndex = -1\n"
      "        MinHeight = 41\n        Width = 851\n      end>\n"
      "    object ToolBar: TToolBar\n      Left = 9\n      Top = 0\n      Width = 838\n"
      "      Height = 41\n      TabOrder = 0\n    end\n  end\nend\n");
  auto* bar = Cast<TCoolBar>(f->FindComponent("CoolBar"));
  auto* tb = Cast<TToolBar>(f->FindComponent("ToolBar"));
  ASSERT_TRUE(bar && tb);
  EXPECT_EQ(bar->GetClientWidth(), 851);
  EXPECT_EQ(bar->GetBands()->Items(0)->GetControl(), tb);
  EXPECT_EQ(tb->GetLeft(), 9);
  EXPECT_EQ(tb->GetTop(), 0);
  EXPECT_EQ(tb->GetWidth(), 838);
  EXPECT_EQ(tb->GetHeight(), 41);
  EXPECT_EQ(bar->RowCount(), 1);
  // Written back, the band keeps Break and its other defaults out of the stream.
  std::string text = StreamAsText(f.get());
  EXPECT_NE(text.find("Control = ToolBar"), std::string::npos) << text;
  EXPECT_NE(text.find("ImageIndex = -1"), std::string::npos) << text;
  EXPECT_EQ(text.find("Break"), std::string::npos) << text;
  EXPECT_NE(text.find("Left = 9"), std::string::npos) << text;
}

TEST_F(MoreStdFixture, CoolBarRowsBreaksAutoSizeAndVertical) {
  auto* bar = Add<TCoolBar>("CoolBar1");
  bar->SetEdgeBorders(TEdgeBorders{});
  bar->SetAlign(alNone);
  bar->SetWidth(400);
  ASSERT_EQ(bar->GetClientWidth(), 400);
  // Controls put on the bar get bands of their own, each on a new row.
  auto* e1 = Add<TEdit>("Edit1", bar);
  auto* e2 = Add<TEdit>("Edit2", bar);
  auto* e3 = Add<TEdit>("Edit3", bar);
  ASSERT_EQ(bar->GetBands()->Count(), 3);
  EXPECT_EQ(bar->GetBands()->FindBand(e2), bar->GetBands()->Items(1));
  EXPECT_EQ(bar->RowCount(), 3);
  TCoolBand* b2 = bar->GetBands()->Items(1);
  b2->SetBreak(false);
  bar->GetBands()->Items(0)->SetWidth(150);
  EXPECT_EQ(bar->RowCount(), 2);
  EXPECT_EQ(e1->GetLeft(), TCoolBar::GripSize);
  EXPECT_EQ(e1->GetWidth(), 150 - TCoolBar::GripSize - TCoolBar::BandMargin);
  EXPECT_EQ(e2->GetTop(), e1->GetTop());
  EXPECT_EQ(e2->GetLeft(), 150 + TCoolBar::GripSize);
  EXPECT_EQ(e2->GetLeft() + e2->GetWidth(), 400 - TCoolBar::BandMargin);  // the last band reaches the end
  EXPECT_GT(e3->GetTop(), e1->GetTop() + e1->GetHeight());
  // Dragging the second band's grip sizes the first band of the row; its control follows.
  bar->Perform(WM_LBUTTONDOWN, MK_LBUTTON, Pos(152, e1->GetTop() + 3));
  bar->Perform(WM_MOUSEMOVE, MK_LBUTTON, Pos(202, e1->GetTop() + 3));
  bar->Perform(WM_LBUTTONUP, 0, Pos(202, e1->GetTop() + 3));
  EXPECT_EQ(bar->GetBands()->Items(0)->GetWidth(), 200);
  EXPECT_EQ(e2->GetLeft(), 200 + TCoolBar::GripSize);
  bar->GetBands()->Items(0)->SetWidth(150);
  // A text and a fixed size change the header before the control.
  TCoolBand* b3 = bar->GetBands()->Items(2);
  b3->SetFixedSize(true);
  EXPECT_EQ(e3->GetLeft(), 2);
  b3->SetText("Find");
  EXPECT_GT(e3->GetLeft(), 6);
  bar->SetShowText(false);
  EXPECT_EQ(e3->GetLeft(), 2);
  // AutoSize fits the bar to its rows; an invisible band leaves its row.
  bar->SetAutoSize(true);
  int twoRows = bar->GetHeight();
  // A band made for a control starts as tall as the control.
  EXPECT_EQ(twoRows, 2 * e1->GetHeight() + 4);
  b3->SetVisible(false);
  EXPECT_EQ(bar->RowCount(), 1);
  EXPECT_EQ(bar->GetHeight(), e1->GetHeight());
  b3->SetVisible(true);
  // Vertical bars exchange the axes.
  bar->SetAutoSize(false);
  bar->SetAlign(alLeft);
  bar->SetVertical(true);
  EXPECT_EQ(e1->GetTop(), TCoolBar::GripSize);
  EXPECT_EQ(e1->GetWidth(), bar->GetBands()->Items(0)->GetMinHeight());
  EXPECT_EQ(e2->GetLeft(), e1->GetLeft());
  // A control taken off the bar or freed takes its band with it.
  e2->SetParent(form.get());
  EXPECT_EQ(bar->GetBands()->Count(), 2);
  delete e3;
  EXPECT_EQ(bar->GetBands()->Count(), 1);
  EXPECT_THROW(bar->GetBands()->Items(0)->SetControl(bar), EInvalidOperation);
}

TEST_F(MoreStdFixture, CoolBarRoundTrip) {
  auto* bar = Add<TCoolBar>("CoolBar1");
  auto* edit = Add<TEdit>("Edit1", bar);
  auto* images = Add<TImageList>("ImageList1");
  bar->SetImages(images);
  bar->SetBandBorderStyle(bsNone);
  bar->SetFixedOrder(true);
  TCoolBand* band = bar->GetBands()->Items(0);
  band->SetText("Address");
  band->SetMinWidth(40);
  band->SetImageIndex(2);
  TCoolBand* empty = bar->GetBands()->Add();
  empty->SetBreak(false);
  empty->SetWidth(80);
  std::string text = ExpectRoundTrip(form.get(), bar);
  ExpectDefaultsOmitted(bar, text);
  EXPECT_NE(text.find("Control = Edit1"), std::string::npos) << text;
  EXPECT_NE(text.find("Break = False"), std::string::npos) << text;
  EXPECT_NE(text.find("Images = ImageList1"), std::string::npos) << text;
  EXPECT_EQ(text.find("Align"), std::string::npos) << text;  // alTop is the default
  delete images;
  EXPECT_EQ(bar->GetImages(), nullptr);
  (void)edit;
}

// A class's unit is what a generated uses clause names, whichever file implements it.
TEST(StandardClasses, ReportTheUnitDelphiDeclaresThemIn) {
  const std::pair<TClass, const char*> expected[] = {
      {TDBGrid::StaticClass(), "DBGrids"},     {TColumn::StaticClass(), "DBGrids"},
      {TNotebook::StaticClass(), "ExtCtrls"},  {TPage::StaticClass(), "ExtCtrls"},
      {TTimer::StaticClass(), "ExtCtrls"},     {TSplitter::StaticClass(), "ExtCtrls"},
      {THeader::StaticClass(), "ExtCtrls"},    {TPanel::StaticClass(), "ExtCtrls"},
      {TListView::StaticClass(), "ComCtrls"},  {TTreeView::StaticClass(), "ComCtrls"},
      {TListItems::StaticClass(), "ComCtrls"}, {TTreeNodes::StaticClass(), "ComCtrls"}};
  for (const auto& [cls, unit] : expected) EXPECT_STREQ(cls->UnitName, unit) << cls->Name;
}

}  // namespace
