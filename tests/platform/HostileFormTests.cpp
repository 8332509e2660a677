// Form files are input from strangers: each test here is a hostile input that once crashed a
// reader, ran a side effect or took time out of all proportion, shrunk to its essence.
#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "ComCtrls.h"
#include "DbTables.h"
#include "DbTestFile.h"
#include "ExtCtrls.h"
#include "FormText.h"
#include "Forms.h"
#include "StdCtrls.h"
#include "StdReg.h"

namespace {

void PutInt(std::string& out, int32_t v) {
  for (int i = 0; i < 4; ++i) out += static_cast<char>((static_cast<uint32_t>(v) >> (8 * i)) & 0xFF);
}

// Items.Data of a tree view: one chain of `depth` nodes, each the only child of the one before.
std::string ChainOfNodes(int depth) {
  std::string blob;
  PutInt(blob, 1);
  for (int i = 0; i < depth; ++i) {
    PutInt(blob, 24 + 1 + 1);
    for (int v : {0, 0, -1, -1, 0}) PutInt(blob, v);  // images, state, overlay, data
    PutInt(blob, i + 1 < depth ? 1 : 0);
    blob += '\x01';
    blob += 'n';
  }
  return blob;
}

}  // namespace

// A windowed control inside an edit, memo, list or combo box: the backend once took the native
// widget's inner parts for the parent's window handle.
TEST(HostileForm, WindowedChildOfANativeControlShowsAndRaises) {
  RegisterStandardClasses();
  for (const char* parent : {"TEdit", "TMemo", "TListBox", "TComboBox"}) {
    SCOPED_TRACE(parent);
    auto form = ReadFormText(std::string("object Form1: TForm\n  Visible = True\n  object P1: ") + parent +
                             "\n    object Button1: TButton\n    end\n  end\nend\n");
    auto* button = static_cast<TButton*>(form->FindComponent("Button1"));
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(button->GetParent(), form->FindComponent("P1"));
    EXPECT_TRUE(button->HandleAllocated());
    button->BringToFront();
    TBitmap shot;
    GrabWindow(form.get(), &shot, true);
    EXPECT_GT(shot.GetWidth(), 0);
  }
}

// 200,000 levels once overflowed the stack freeing the nodes; expanding, sorting and deleting
// the whole tree walk it just as deep.
TEST(HostileForm, TreeNestedDeeperThanTheStackLoadsWalksAndFrees) {
  constexpr int kDepth = 200000;
  TMemoryStream data;
  const std::string blob = ChainOfNodes(kDepth);
  data.Write(blob.data(), static_cast<int64_t>(blob.size()));
  {
    TTreeNodes nodes;  // no view: expanding lays out no rows
    data.SetPosition(0);
    nodes.ReadData(&data);
    ASSERT_EQ(nodes.Count(), kDepth);
    TTreeNode* deepest = nodes.GetFirstNode();
    while (deepest->GetFirstChild()) deepest = deepest->GetFirstChild();
    nodes.GetFirstNode()->Expand(true);
    EXPECT_TRUE(deepest->Parent()->GetExpanded());
    nodes.GetFirstNode()->Collapse(true);
    EXPECT_FALSE(deepest->Parent()->GetExpanded());
  }
  auto tree = std::make_unique<TTreeView>(nullptr);
  data.SetPosition(0);
  tree->GetItems()->ReadData(&data);
  tree->AlphaSort();
  tree->GetItems()->GetFirstNode()->GetFirstChild()->Delete();  // all but the top node
  EXPECT_EQ(tree->GetItems()->Count(), 1);
  data.SetPosition(0);
  tree->GetItems()->ReadData(&data);
  tree.reset();  // the destructor frees the chain
}

TEST(HostileForm, DeletingASubtreeFreesItsNodesChildrenFirst) {
  auto tree = std::make_unique<TTreeView>(nullptr);
  TTreeNodes* items = tree->GetItems();
  TTreeNode* a = items->Add(nullptr, "a");
  TTreeNode* b = items->AddChild(a, "b");
  items->AddChild(b, "c");
  items->AddChild(a, "d");
  TTreeNode* e = items->Add(nullptr, "e");
  std::vector<std::string> order;
  tree->OnDeletion = [&](TObject*, TTreeNode* n) { order.push_back(n->GetText()); };
  a->Delete();
  EXPECT_EQ(order, (std::vector<std::string>{"d", "c", "b", "a"}));
  EXPECT_EQ(items->Count(), 1);
  EXPECT_EQ(items->GetFirstNode(), e);
}

// Every child's Loaded once realigned its whole parent: loading n labels took n realigns of
// n controls. Now a parent aligns once its children have all finished loading.
namespace {
int gAlignCalls = 0;

class TCountingPanel : public TPanel {
  KV_CLASS(TCountingPanel, TPanel)
 public:
  using TPanel::TPanel;

 protected:
  void AlignControls(TControl* aControl, TRect& rect) override {
    ++gAlignCalls;
    TPanel::AlignControls(aControl, rect);
  }
};
KV_IMPLEMENT_CLASS(TCountingPanel, "HostileFormTests") {}
}  // namespace

TEST(HostileForm, ParentAlignsOnceAfterItsChildrenLoad) {
  RegisterStandardClasses();
  RegisterClass(TCountingPanel::StaticClass());
  std::string text =
      "object Form1: TForm\n  Width = 400\n  Height = 300\n  object Panel1: TCountingPanel\n"
      "    Width = 200\n    Height = 100\n    Align = alTop\n    BevelOuter = bvNone\n"
      "    object Bar: TLabel\n      Align = alBottom\n      Caption = 'bar'\n    end\n";
  for (int i = 0; i < 50; ++i)
    text += "    object L" + std::to_string(i) + ": TLabel\n      Top = " + std::to_string(i * 3) +
            "\n      Caption = 'label'\n    end\n";
  text += "  end\n  object Below: TLabel\n    Top = 900\n    Caption = 'far down'\n  end\nend\n";
  gAlignCalls = 0;
  auto form = ReadFormText(text);
  EXPECT_LE(gAlignCalls, 3);
  // What the alignment computes is all there: the panel across the top, its bar at its bottom,
  // the labels sized to their text and the form scrolling down to the far label.
  auto* panel = static_cast<TControl*>(form->FindComponent("Panel1"));
  auto* bar = static_cast<TLabel*>(form->FindComponent("Bar"));
  EXPECT_EQ(panel->GetWidth(), form->GetClientWidth());
  EXPECT_EQ(bar->GetTop() + bar->GetHeight(), panel->GetHeight());
  EXPECT_GT(static_cast<TLabel*>(form->FindComponent("L7"))->GetWidth(), 0);
  auto* below = static_cast<TLabel*>(form->FindComponent("Below"));
  EXPECT_EQ(form->GetVertScrollBar()->GetRange(), below->GetTop() + below->GetHeight());
}

// ---------------------------------------------------------------------------------------------
// Databases named by a form.

class HostileDbForm : public TDbFileTest {
 protected:
  void SetUp() override {
    RegisterStandardClasses();
    RegisterDbClasses();
    TDbFileTest::SetUp();
    Exec("CREATE TABLE t (a INTEGER); INSERT INTO t VALUES (1); INSERT INTO t VALUES (2);");
  }
  void TearDown() override {
    SetDatabasesReadOnly(false);
    TDbFileTest::TearDown();
  }
  int Rows() {
    TQuery q(nullptr);
    q.SetDatabaseName(Path);
    q.GetSQL()->SetText("SELECT a FROM t");
    q.Open();
    return q.RecordCount();
  }
  static std::string Query(const std::string& sql, const std::string& database) {
    return "  object Query1: TQuery\n    Active = True\n    DatabaseName = '" + database +
           "'\n    SQL.Strings = (\n      '" + sql + "')\n  end\n";
  }
  std::string Database(const char* connected) const {
    return std::string("  object Database1: TDatabase\n    Connected = ") + connected +
           "\n    DatabaseName = 'Db1'\n    Params.Strings = (\n      'DATABASE=" + Path + "')\n  end\n";
  }
  static std::string Form(const std::string& body) { return "object Form1: TForm\n" + body + "end\n"; }
};

TEST_F(HostileDbForm, OpeningADatasetNeverRunsAStatementThatWrites) {
  std::vector<std::string> problems;
  auto form = ReadFormText(Form(Query("DELETE FROM t RETURNING a", Path)), false, &problems);
  ASSERT_EQ(problems.size(), 1u);
  EXPECT_EQ(problems[0], "A dataset opens only statements that read data: DELETE FROM t RETURNING a");
  EXPECT_FALSE(static_cast<TQuery*>(form->FindComponent("Query1"))->GetActive());
  EXPECT_EQ(Rows(), 2);
  for (const char* sql : {"INSERT INTO t VALUES (3) RETURNING a", "UPDATE t SET a = 0 RETURNING a"}) {
    TQuery q(nullptr);
    q.SetDatabaseName(Path);
    q.GetSQL()->SetText(sql);
    EXPECT_THROW(q.Open(), EDatabaseError) << sql;
  }
  EXPECT_EQ(Rows(), 2);
}

TEST_F(HostileDbForm, ReadOnlyDatabasesRefuseEveryWrite) {
  SetDatabasesReadOnly(true);
  EXPECT_THROW(Exec("DELETE FROM t"), EDatabaseError);
  TDatabase db(nullptr);
  db.SetDatabaseName("Db1");
  db.GetParams()->Add("DATABASE=" + Path);
  EXPECT_THROW(db.Execute("DELETE FROM t"), EDatabaseError);
  SetDatabasesReadOnly(false);
  EXPECT_EQ(Rows(), 2);
}

TEST_F(HostileDbForm, DesignedFormsOpenTheirDatabasesReadOnly) {
  auto form = ReadFormText(Form(Database("True") + Query("SELECT a FROM t", Path)), true);
  auto* db = static_cast<TDatabase*>(form->FindComponent("Database1"));
  ASSERT_TRUE(db->GetConnected());
  EXPECT_THROW(db->Execute("DELETE FROM t"), EDatabaseError);
  EXPECT_TRUE(static_cast<TQuery*>(form->FindComponent("Query1"))->GetActive());
  auto* q = static_cast<TQuery*>(form->FindComponent("Query1"));
  q->Close();
  q->GetSQL()->SetText("DELETE FROM t");
  EXPECT_THROW(q->ExecSQL(), EDatabaseError);
  EXPECT_EQ(Rows(), 2);
}

// A dataset read before the database it names once opened on no connection at all.
TEST_F(HostileDbForm, DatasetBeforeItsDatabaseOpensOnIt) {
  for (const char* connected : {"True", "False"}) {
    SCOPED_TRACE(connected);
    auto form = ReadFormText(Form(Query("SELECT a FROM t", "Db1") + Database(connected)));
    auto* q = static_cast<TQuery*>(form->FindComponent("Query1"));
    ASSERT_TRUE(q->GetActive());
    EXPECT_EQ(q->RecordCount(), 2);
    EXPECT_TRUE(static_cast<TDatabase*>(form->FindComponent("Database1"))->GetConnected());
  }
}

// ---------------------------------------------------------------------------------------------
// Sizes a form stream cannot hold.

TEST(HostileForm, PropertyPathLongerThanAShortStringSaysSo) {
  std::string path = "Font";
  while (path.size() <= 255) path += ".Segment";
  TMemoryStream in, out;
  const std::string text = "object Form1: TForm\n  " + path + " = 1\nend\n";
  in.Write(text.data(), static_cast<int64_t>(text.size()));
  in.SetPosition(0);
  try {
    ObjectTextToBinary(&in, &out);
    FAIL() << "converted";
  } catch (const EParserError& e) {
    EXPECT_EQ(e.Message(), "Name longer than 255 characters: " + path.substr(0, 32) + "... on line 2");
  }
  // At the limit the name is written whole.
  const std::string fits = "object Form1: TForm\n  " + std::string(255, 'A') + " = 1\nend\n";
  TMemoryStream in2, out2;
  in2.Write(fits.data(), static_cast<int64_t>(fits.size()));
  in2.SetPosition(0);
  EXPECT_NO_THROW(ObjectTextToBinary(&in2, &out2));
}

namespace {
// A form whose panels nest `levels` deep below it.
std::string NestedPanels(int levels) {
  std::string text = "object Form1: TForm\n";
  for (int i = 0; i < levels; ++i) text += "object P" + std::to_string(i) + ": TPanel\n";
  for (int i = 0; i <= levels; ++i) text += "end\n";
  return text;
}
}  // namespace

// Objects nest at most 256 deep, the form included: deeper input is refused with the line or
// offset where it goes too deep, rather than recursed into.
TEST(HostileForm, NestingIsRefusedBeyond256Levels) {
  RegisterStandardClasses();
  auto form = ReadFormText(NestedPanels(255));
  EXPECT_NE(form->FindComponent("P254"), nullptr);
  try {
    ReadFormText(NestedPanels(256));
    FAIL() << "read";
  } catch (const EParserError& e) {
    EXPECT_EQ(e.Message(), "Nesting deeper than 256 levels on line 257");
  }
  // A binary stream, which the text converter cannot make, is held to the same depth.
  for (int levels : {256, 257}) {
    TMemoryStream bin;
    {
      TWriter w(&bin, 4096);
      w.WriteSignature();
      for (int i = 0; i < levels; ++i) {
        w.WritePrefix(0, 0);
        w.WriteStr(i == 0 ? "TForm" : "TPanel");
        w.WriteStr(i == 0 ? "Form1" : "P" + std::to_string(i));
        w.WriteListEnd();  // no properties
      }
      for (int i = 0; i < levels; ++i) w.WriteListEnd();  // no more children
      w.FlushBuffer();
    }
    bin.SetPosition(0);
    TForm read(nullptr);
    if (levels == 256) {
      bin.ReadComponent(&read);
      EXPECT_NE(read.FindComponent("P255"), nullptr);
    } else {
      try {
        bin.ReadComponent(&read);
        ADD_FAILURE() << "read";
      } catch (const EReadError& e) {
        EXPECT_TRUE(e.Message().starts_with("Nesting too deep at offset ")) << e.Message();
      }
    }
  }
}

// --- Limits on what a form may declare: at each limit the input reads, one beyond it is refused
// with the limit in the message.

namespace {
// A binary form stream: Form1 (kFormBytes after the signature) with `children` unnamed data
// sources (kChildBytes each).
constexpr int kFormBytes = 17, kChildBytes = 15;
std::string FlatForm(int children) {
  TMemoryStream bin;
  {
    TWriter w(&bin, 4096);
    w.WriteSignature();
    w.WritePrefix(0, 0);
    w.WriteStr("TForm");
    w.WriteStr("Form1");
    w.WriteListEnd();
    for (int i = 0; i < children; ++i) {
      w.WriteStr("TDataSource");
      w.WriteStr("");
      w.WriteListEnd();
      w.WriteListEnd();
    }
    w.WriteListEnd();
  }
  return {reinterpret_cast<const char*>(bin.Memory()), static_cast<size_t>(bin.GetSize())};
}

void Fill(TMemoryStream& s, const std::string& bytes) {
  s.Write(bytes.data(), static_cast<int64_t>(bytes.size()));
  s.SetPosition(0);
}

template <class E, class F>
std::string MessageOf(F f) {
  try {
    f();
  } catch (const E& e) {
    return e.Message();
  }
  return "(nothing raised)";
}
}  // namespace

TEST(HostileForm, ComponentsAreCountedToTheLimit) {
  RegisterStandardClasses();
  {
    TMemoryStream in;
    Fill(in, FlatForm(MaxFormComponents - 1));
    TForm form(nullptr);
    in.ReadComponent(&form);
    EXPECT_EQ(form.ComponentCount(), MaxFormComponents - 1);
    TMemoryStream text;
    in.SetPosition(0);
    ObjectBinaryToText(&in, &text);
    text.SetPosition(0);
    TMemoryStream binary;
    EXPECT_NO_THROW(ObjectTextToBinary(&text, &binary));
  }
  TMemoryStream in;
  Fill(in, FlatForm(MaxFormComponents));
  const std::string beyond =
      "More than 65536 components at offset " + std::to_string(kFormBytes + kChildBytes * (MaxFormComponents - 1));
  TForm form(nullptr);
  EXPECT_EQ(MessageOf<EReadError>([&] { in.ReadComponent(&form); }), beyond);
  TMemoryStream text;
  in.SetPosition(0);
  EXPECT_EQ(MessageOf<EReadError>([&] { ObjectBinaryToText(&in, &text); }), beyond);
  std::string many = "object Form1: TForm\n";
  for (int i = 0; i < MaxFormComponents; ++i) many += "object TDataSource\nend\n";
  TMemoryStream manyText, binary;
  Fill(manyText, many + "end\n");
  EXPECT_EQ(MessageOf<EParserError>([&] { ObjectTextToBinary(&manyText, &binary); }),
            "More than 65536 components on line " + std::to_string(2 * MaxFormComponents));
}

// A form of millions of components once filled memory before it failed: now a large one is
// refused before it is read, and one within the size limit after 65,536 components.
TEST(HostileForm, MillionsOfComponentsAreRefusedEarly) {
  RegisterStandardClasses();
  TMemoryStream in, out;
  in.WriteBuffer("object Form1: TForm\n", 20);
  for (int i = 0; i < 10'000'000; ++i) in.WriteBuffer("object A: TPanel end\n", 21);
  in.WriteBuffer("end\n", 4);
  in.SetPosition(0);
  EXPECT_EQ(MessageOf<EParserError>([&] { ObjectTextToBinary(&in, &out); }),
            "Form data of 210000024 bytes is larger than the limit of 67108864 bytes");
  EXPECT_EQ(out.GetSize(), 0);

  TMemoryStream bin;
  Fill(bin, FlatForm(4'000'000));
  ASSERT_LE(bin.GetSize(), MaxFormSize);
  TForm form(nullptr);
  EXPECT_TRUE(MessageOf<EReadError>([&] { bin.ReadComponent(&form); }).starts_with("More than 65536 components"));
  EXPECT_EQ(bin.GetPosition(), kFormBytes + kChildBytes * (MaxFormComponents - 1));  // stopped at the limit
}

TEST(HostileForm, FormDataIsLimitedInSize) {
  TMemoryStream atLimit;
  atLimit.SetSize(MaxFormSize);
  EXPECT_NO_THROW(TReader(&atLimit, 4096));
  atLimit.SetSize(MaxFormSize + 1);
  EXPECT_EQ(MessageOf<EReadError>([&] { TReader(&atLimit, 4096); }),
            "Form data of 67108865 bytes is larger than the limit of 67108864 bytes");
  // Text at the limit converts (blanks between the words).
  std::string text = "object Form1: TForm\n";
  text.resize(MaxFormSize - 4, ' ');
  text += "end\n";
  TMemoryStream in, out;
  Fill(in, text);
  EXPECT_NO_THROW(ObjectTextToBinary(&in, &out));
  in.SetSize(MaxFormSize + 1);
  in.SetPosition(0);
  EXPECT_EQ(MessageOf<EParserError>([&] { ObjectTextToBinary(&in, &out); }),
            "Form data of 67108865 bytes is larger than the limit of 67108864 bytes");
}

TEST(HostileForm, StringValuesAreLimited) {
  // Binary: the stored length, in bytes (UTF-16 units count two), is checked before anything is
  // allocated for it.
  auto stored = [](TValueType tag, int64_t units, int unitSize) {
    std::string s(1, static_cast<char>(tag));
    PutInt(s, static_cast<int32_t>(units));
    for (int64_t i = 0; i < units; ++i) s.append(unitSize == 2 ? std::string("a\0", 2) : "a");
    return s;
  };
  for (auto [tag, unitSize] : {std::pair{vaLString, 1}, {vaUTF8String, 1}, {vaWString, 2}}) {
    SCOPED_TRACE(tag);
    const int64_t most = MaxFormStringSize / unitSize;
    TMemoryStream fits, beyond;
    Fill(fits, stored(tag, most, unitSize));
    EXPECT_EQ(TReader(&fits, 4096).ReadString().size(), static_cast<size_t>(most));
    Fill(beyond, stored(tag, most + 1, unitSize));
    EXPECT_EQ(MessageOf<EReadError>([&] { TReader(&beyond, 4096).ReadString(); }),
              "String value longer than 16777216 bytes at offset 1");
  }
  // Text: half as many characters, so that the value fits however it is stored.
  auto form = [](int64_t chars) {
    return "object Form1: TForm\n  Hint = '" + std::string(static_cast<size_t>(chars) - 1, 'a') + "' + 'b'\nend\n";
  };
  TMemoryStream in, out;
  Fill(in, form(MaxFormTextString));
  ObjectTextToBinary(&in, &out);
  out.SetPosition(0);
  TMemoryStream text;
  EXPECT_NO_THROW(ObjectBinaryToText(&out, &text));
  TMemoryStream over;
  Fill(over, form(MaxFormTextString + 1));
  EXPECT_EQ(MessageOf<EParserError>([&] { ObjectTextToBinary(&over, &out); }),
            "String value longer than 8388608 characters on line 2");
}

TEST(HostileForm, TreeItemsAreLimitedInDepth) {
  TMemoryStream data;
  Fill(data, ChainOfNodes(MaxTreeDepth));
  TTreeNodes nodes;
  nodes.ReadData(&data);
  EXPECT_EQ(nodes.Count(), MaxTreeDepth);
  TMemoryStream deeper;
  Fill(deeper, ChainOfNodes(MaxTreeDepth + 1));
  EXPECT_EQ(MessageOf<EReadError>([&] { nodes.ReadData(&deeper); }), "Tree items nested deeper than 262144 levels");
  EXPECT_EQ(nodes.Count(), MaxTreeDepth);  // a refused blob leaves the items as they were
}
