// The filtering reader over form streams of live forms: what is copied, dropped, taken out and
// put back, and what it gathers for the unit text.
#include <gtest/gtest.h>

#include <cstring>

#include "Consts.h"
#include "DBGrids.h"
#include "ReaderTestUtil.h"
#include "StdCtrls.h"

namespace {

// A sub-object from a unit outside the standard uses clause, with an event of its own.
class TKrTestOptions : public TPersistent {
  KV_CLASS(TKrTestOptions, TPersistent)
 public:
  int GetLevel() const { return FLevel; }
  void SetLevel(int v) { FLevel = v; }
  TNotifyEvent OnChange;

 private:
  int FLevel = 0;
};

class TKrTestWidget : public TComponent {
  KV_CLASS(TKrTestWidget, TComponent)
 public:
  explicit TKrTestWidget(TComponent* owner) : TComponent(owner), FOptions(new TKrTestOptions) {}
  ~TKrTestWidget() override { delete FOptions; }
  TKrTestOptions* GetOptions() const { return FOptions; }
  void SetOptions(TKrTestOptions* v) { (void)v; }
  int GetCount() const { return 7; }
  int GetSpare() const { return 0; }
  void SetSpare(int v) { (void)v; }
  TNotifyEvent OnClick;

 private:
  TKrTestOptions* FOptions;
};

}  // namespace

KV_IMPLEMENT_CLASS(TKrTestOptions, "KrOptions") {
  b.Prop("Level", &TKrTestOptions::GetLevel, &TKrTestOptions::SetLevel);
  b.Prop("OnChange", &TKrTestOptions::OnChange);
}

KV_IMPLEMENT_CLASS(TKrTestWidget, "KrWidgets") {
  b.Prop("Options", &TKrTestWidget::GetOptions, &TKrTestWidget::SetOptions);
  b.Prop("Count", &TKrTestWidget::GetCount);
  b.Prop("Spare", &TKrTestWidget::GetSpare, &TKrTestWidget::SetSpare).Stored(false);
  b.Prop("OnClick", &TKrTestWidget::OnClick);
}

namespace {

std::vector<std::string> Lines(const TStrings& s) {
  std::vector<std::string> r;
  for (int i = 0; i < s.Count(); ++i) r.push_back(s[i]);
  return r;
}

std::string Without(std::string text, const std::vector<std::string>& lines) {
  for (const std::string& l : lines) {
    size_t at = text.find(l + "\r\n");
    EXPECT_NE(at, std::string::npos) << l;
    if (at != std::string::npos) text.erase(at, l.size() + 2);
  }
  return text;
}

// A text form as the library writes it back (CR LF line ends, long strings and data broken).
std::string Canonical(const std::string& text) { return BinaryToText(TextToBinary(text)); }

// Events last in each object, as in the files Delphi writes, so that putting them back
// reproduces the stream exactly.
const char* kForm = R"(object Form1: TForm1
  Left = 100
  Caption = 'Main'
  Font.Style = [fsBold]
  OnCreate = FormCreate
  object Button1: TButton
    Caption = 'OK'
    OnEnter = nil
    OnClick = Button1Click
  end
  object Edit1: TEdit
    Text = 'x'
    OnKeyPress = Edit1KeyPress
  end
  object Memo1: TMemo
    Lines.Strings = (
      'one'
      'two')
  end
end
)";

TEST(KvReaderCollect, TakesEventsOutAndGathersFieldsSectionsAndUnits) {
  auto form = LoadForm(kForm);
  TFiltered f = Filter(form.get(), TextToBinary(kForm));
  EXPECT_EQ(f.ClassName, "TForm1");
  EXPECT_EQ(Lines(f.Reader->Fields),
            (std::vector<std::string>{"    Button1: TButton;", "    Edit1: TEdit;", "    Memo1: TMemo;"}));
  // Parameters keep their var; a component without events still gets its header.
  EXPECT_EQ(Lines(f.Reader->Events),
            (std::vector<std::string>{"[TForm1]", "OnCreate = FormCreate(Sender: TObject)", "[Button1]",
                                      "OnClick = Button1Click(Sender: TObject)", "[Edit1]",
                                      "OnKeyPress = Edit1KeyPress(Sender: TObject; var Key: Char)", "[Memo1]"}));
  // The controls' unit joins the clause once; Font.Style passes through the font class, whose
  // unit is already in it.
  EXPECT_EQ(Lines(f.Reader->Units), (std::vector<std::string>{"Messages", "Windows", "SysUtils", "Classes", "Graphics",
                                                              "Controls", "Forms", "Dialogs", "StdCtrls"}));
  // Assigned handlers leave the stream; the nil one stays.
  EXPECT_EQ(f.OutText(), Without(Canonical(kForm), {"  OnCreate = FormCreate", "    OnClick = Button1Click",
                                                    "    OnKeyPress = Edit1KeyPress"}));
}

TEST(KvReaderApply, PutsBackExactlyWhatCollectTookOut) {
  auto form = LoadForm(kForm);
  TFiltered collected = Filter(form.get(), TextToBinary(kForm));
  TFilterOptions apply;
  apply.Events = &collected.Reader->Events;
  TFiltered applied = Filter(form.get(), OutFormStream(*collected.Reader), apply);
  EXPECT_EQ(applied.OutText(), Canonical(kForm));
  // Apply mode gathers nothing of its own.
  EXPECT_EQ(applied.Reader->Fields.Count(), 0);
  EXPECT_EQ(Lines(applied.Reader->Events), Lines(collected.Reader->Events));
}

TEST(KvReaderApply, WritesSectionAfterOtherPropertiesUnderReplacedRootClass) {
  auto form = LoadForm("object Form2: TForm\n  object Button1: TButton\n  end\nend\n");
  TStringList events;
  events.SetText(
      "[Button1]\r\nOnClick = Button1Click(Sender: TObject)\r\n"
      "[TForm2]\r\nOnCreate = FormCreate(Sender: TObject)\r\nOnDestroy = FormDestroy\r\n"
      "[button1]\r\nOnEnter = Ignored(Sender: TObject)\r\n");
  TFilterOptions apply;
  apply.Events = &events;
  apply.NewClassName = "TForm2";
  const char* live = R"(object Form2: TForm
  Caption = 'Two'
  object Button1: TButton
    Caption = 'OK'
    OnClick = LiveHandler
  end
end
)";
  TFiltered f = Filter(form.get(), TextToBinary(live), apply);
  EXPECT_EQ(f.ClassName, "TForm2");
  // Bound handlers of the live stream give way to the list; only a section's first header counts.
  EXPECT_EQ(f.OutText(), Canonical(R"(object Form2: TForm2
  Caption = 'Two'
  OnCreate = FormCreate
  OnDestroy = FormDestroy
  object Button1: TButton
    Caption = 'OK'
    OnClick = Button1Click
  end
end
)"));
}

TEST(KvReaderCopy, UnknownComponentIsCopiedWholeWithEveryKindOfValue) {
  auto form = LoadForm("object Form1: TForm1\n  object Button1: TButton\n  end\nend\n");
  const std::string longText(300, 'L');
  const std::string stream = R"(object Form1: TForm1
  object Grid1: TThirdPartyGrid
    LongText = ')" + longText +
                             R"('
    Wide = 'Sch'#246'n '#1055#1088#1080
    Data = {
      0001020304FF}
    Options = [goOne, goTwo]
    Empty = []
    Items = (
      'x'
      1
      (
        2.5))
    Ratio = 1.250000000000000000
    Big = 100000
    Small = -3
    Flag = True
    Ref = nil
    Mode = gmFancy
    Columns = <
      item
        Caption = 'A'
        Width = 40
      end
      item
      end>
    OnClick = Grid1Click
    object Button1: TButton
      Caption = 'nested, same name as a listed component'
    end
  end
  object Button1: TButton
  end
end
)";
  TFiltered f = Filter(form.get(), TextToBinary(stream));
  EXPECT_EQ(f.OutText(), Canonical(stream));
  EXPECT_EQ(Lines(f.Reader->Fields), (std::vector<std::string>{"    Button1: TButton;"}));
  EXPECT_EQ(Lines(f.Reader->Events), (std::vector<std::string>{"[TForm1]", "[Button1]"}));
}

TEST(KvReaderCopy, PropertiesTheLiveClassLacksAreCopied) {
  auto form =
      LoadForm("object Form1: TForm1\n  object Button1: TButton\n  end\n  object List1: TListBox\n  end\nend\n");
  const char* stream = R"(object Form1: TForm1
  PixelsPerInch = 96
  TextHeight = 13
  object Button1: TButton
    Foo = 3
  end
  object List1: TListBox
    Items.Strings = (
      'a'
      'b')
  end
end
)";
  TFiltered f = Filter(form.get(), TextToBinary(stream));
  EXPECT_EQ(f.OutText(), Canonical(stream));
}

TEST(KvReaderCopy, ComponentOfAnotherClassUnderTheNameIsTreatedAsUnknown) {
  // Button1 was deleted and an edit renamed to Button1 since the stream was written: the old
  // button's handler must not land on the edit, nor its field line in the unit.
  auto form = LoadForm("object Form1: TForm1\n  object Button1: TEdit\n  end\nend\n");
  const char* stream = "object Form1: TForm1\n  object Button1: TButton\n    OnClick = Button1Click\n  end\nend\n";
  TFiltered f = Filter(form.get(), TextToBinary(stream));
  EXPECT_EQ(f.OutText(), Canonical(stream));
  EXPECT_EQ(f.Reader->Fields.Count(), 0);
  EXPECT_EQ(Lines(f.Reader->Events), (std::vector<std::string>{"[TForm1]"}));
}

TEST(KvReaderListing, ComponentsNotListedAreDroppedWithTheirChildren) {
  const char* text = R"(object Form1: TForm1
  object Panel1: TPanel
    object Button2: TButton
      OnClick = Button2Click
    end
  end
  object Button1: TButton
  end
end
)";
  auto form = LoadForm(text);
  TComponent* panel = form->FindComponent("Panel1");
  TFilterOptions options;
  options.Listable = [panel](TComponent* c) { return c != panel; };
  TFiltered f = Filter(form.get(), TextToBinary(text), options);
  EXPECT_EQ(f.OutText(), Canonical("object Form1: TForm1\n  object Button1: TButton\n  end\nend\n"));
  EXPECT_EQ(Lines(f.Reader->Fields), (std::vector<std::string>{"    Button1: TButton;"}));
  EXPECT_EQ(Lines(f.Reader->Events), (std::vector<std::string>{"[TForm1]", "[Button1]"}));
}

TEST(KvReaderListing, AComponentNamedAfterAPropertyItsClassDoesNotStoreIsDropped) {
  auto form = LoadForm("object Form1: TForm1\nend\n");
  (new TKrTestWidget(form.get()))->SetName("Spare");
  (new TKrTestWidget(form.get()))->SetName("Count");
  const char* stream =
      "object Form1: TForm1\n  object Spare: TKrTestWidget\n  end\n  object Count: TKrTestWidget\n  end\nend\n";
  TFilterOptions options;
  options.IsStoredProp = [](TPersistent* instance, PPropInfo prop) { return IsStoredProp(instance, prop); };
  TFiltered f = Filter(form.get(), TextToBinary(stream), options);
  EXPECT_EQ(f.OutText(), Canonical("object Form1: TForm1\n  object Count: TKrTestWidget\n  end\nend\n"));
  EXPECT_EQ(Lines(f.Reader->Fields), (std::vector<std::string>{"    Count: TKrTestWidget;"}));
}

TEST(KvReaderUnits, DottedNamesThroughClassesOfOtherUnitsAddThoseUnitsOnce) {
  auto form = LoadForm("object Form1: TForm1\nend\n");
  auto* w1 = new TKrTestWidget(form.get());
  w1->SetName("Widget1");
  auto* w2 = new TKrTestWidget(form.get());
  w2->SetName("Widget2");
  auto* grid = new TDBGrid(form.get());
  grid->SetName("Grid1");
  grid->GetColumns()->Add();
  const char* stream = R"(object Form1: TForm1
  object Widget1: TKrTestWidget
    Options.Level = 1
  end
  object Widget2: TKrTestWidget
    Options.Level = 2
  end
  object Grid1: TDBGrid
    TitleFont.Style = [fsItalic]
    Columns = <
      item
        Title.Caption = 'Name'
      end>
  end
end
)";
  TFiltered f = Filter(form.get(), TextToBinary(stream));
  EXPECT_EQ(f.OutText(), Canonical(stream));
  std::vector<std::string> units = Lines(f.Reader->Units);
  ASSERT_EQ(units.size(), 12u);
  // A component's unit follows its ancestors' (the grid's base class is in Grids); collection
  // items count too, though a column's title is declared in the grid's unit, already there.
  EXPECT_EQ(std::vector<std::string>(units.begin() + 8, units.end()),
            (std::vector<std::string>{"KrWidgets", "KrOptions", "Grids", "DBGrids"}));
}

TEST(KvReaderEvents, EventsOfSubObjectsAndCollectionItemsStayInPlace) {
  // Moving them into the component's section would put them back on the component itself.
  auto form = LoadForm("object Form1: TForm1\nend\n");
  (new TKrTestWidget(form.get()))->SetName("Widget1");
  const char* stream = R"(object Form1: TForm1
  object Widget1: TKrTestWidget
    Options.OnChange = OptionsChange
    OnClick = Widget1Click
  end
end
)";
  TFiltered f = Filter(form.get(), TextToBinary(stream));
  EXPECT_EQ(f.OutText(), Without(Canonical(stream), {"    OnClick = Widget1Click"}));
  EXPECT_EQ(Lines(f.Reader->Events),
            (std::vector<std::string>{"[TForm1]", "[Widget1]", "OnClick = Widget1Click(Sender: TObject)"}));
}

TEST(KvReaderProperties, ReadOnlyPropertiesAreRefused) {
  auto form = LoadForm("object Form1: TForm1\nend\n");
  (new TKrTestWidget(form.get()))->SetName("Widget1");
  try {
    Filter(form.get(),
           TextToBinary("object Form1: TForm1\n  object Widget1: TKrTestWidget\n    Count = 3\n  end\nend\n"));
    ADD_FAILURE() << "read-only property accepted";
  } catch (const EReadError& e) {
    EXPECT_EQ(e.Message(), "Error reading Widget1.Count: Property is read-only");
  }
}

TEST(KvReaderCollections, ItemsBeyondTheLiveCollectionAreCopiedAndTheDesignIsNotChanged) {
  auto form = LoadForm("object Form1: TForm1\nend\n");
  auto* grid = new TDBGrid(form.get());
  grid->SetName("Grid1");
  grid->GetColumns()->Add();
  // Explicit item indexes, the second far beyond anything live.
  const char* stream = R"(object Form1: TForm1
  object Grid1: TDBGrid
    Columns = <
      item
        Width = 40
        Title.Caption = 'Live'
      end
      item
        Unknown = 1
      end
      item
      end>
  end
end
)";
  std::string bytes = TextToBinary(stream);
  TFiltered f = Filter(form.get(), bytes);
  EXPECT_EQ(f.OutText(), Canonical(stream));
  EXPECT_EQ(grid->GetColumns()->Count(), 1);

  // Index values before items (tags 2 and 4) are copied as they stand and followed; counting
  // on from the largest index must not wrap.
  const char* indexed = R"(object Form1: TForm1
  object Grid1: TDBGrid
    Columns = <
      item [0]
        Width = 40
      end
      item [2147483647]
        Unknown = 1
      end
      item
        Unknown = 2
      end>
  end
end
)";
  f = Filter(form.get(), TextToBinary(indexed));
  EXPECT_EQ(f.OutText(), Canonical(indexed));
  EXPECT_EQ(grid->GetColumns()->Count(), 1);
}

TEST(KvReaderOutput, ResourceHeaderNamesTheFormAndSizesTheStream) {
  auto form = LoadForm("object Form1: TForm1\nend\n");
  TFilterOptions options;
  options.ResName = "tForm1" + std::string(80, 'x');
  TFiltered f = Filter(form.get(), TextToBinary("object Form1: TForm1\n  Caption = 'c'\nend\n"), options);
  const std::string out = StreamBytes(f.Reader->OutStream);
  const std::string name = "TFORM1" + std::string(57, 'X');  // upper case, at most 63 characters
  const size_t headerSize = 3 + name.size() + 1 + 2 + 4;
  ASSERT_GT(out.size(), headerSize);
  EXPECT_EQ(out.substr(0, 3), std::string("\xFF\x0A\x00", 3));
  EXPECT_EQ(out.substr(3, name.size() + 1), name + '\0');
  EXPECT_EQ(out.substr(headerSize - 6, 2), "\x30\x10");
  uint32_t size;
  std::memcpy(&size, out.data() + headerSize - 4, 4);
  EXPECT_EQ(size, out.size() - headerSize);
  EXPECT_EQ(out.substr(headerSize, 4), "TPF0");
  EXPECT_EQ(f.Reader->OutStream.GetPosition(), static_cast<int64_t>(out.size()));
}

}  // namespace
