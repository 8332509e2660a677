// Saving over the file a design was opened from: what the user did not change keeps the file's
// bytes and order, what the user changed is written in place.
#include <gtest/gtest.h>

#include "ReaderTestUtil.h"
#include "reader/KvFormMerge.h"

namespace {

TKvStreamObject Parse(const std::string& text) {
  TMemoryStream s;
  const std::string bytes = TextToBinary(text);
  s.Write(bytes.data(), static_cast<int64_t>(bytes.size()));
  s.SetPosition(0);
  return KvReadStreamObject(&s);
}

// The merge of three text forms, as text.
std::string Merge(const std::string& original, const std::string& baseline, const std::string& current) {
  TMemoryStream out;
  KvWriteStreamObject(KvMergeStreamObject(Parse(original), Parse(baseline), Parse(current)), &out);
  return BinaryToText(StreamBytes(out));
}

// The file as read: properties in the original library's order, a reference to a data module
// that is not loaded, a property this library lacks, a client size.
const char* const kFile =
    "object Form1: TForm1\r\n"
    "  Left = 10\r\n"
    "  ClientHeight = 200\r\n"
    "  ClientWidth = 300\r\n"
    "  object Edit1: TDBEdit\r\n"
    "    Left = 8\r\n"
    "    DataField = 'NOM'\r\n"
    "    DataSource = Data.DEtudiants\r\n"
    "    TabOrder = 0\r\n"
    "    UseSystemFont = False\r\n"
    "  end\r\n"
    "  object Table1: TTable\r\n"
    "    Left = 40\r\n"
    "  end\r\n"
    "end\r\n";

// What the live form writes of it: another order, sizes as outer sizes, the lost reference and
// the unknown property missing, a default written out.
const char* const kLive =
    "object Form1: TForm1\r\n"
    "  Left = 10\r\n"
    "  Height = 230\r\n"
    "  Width = 310\r\n"
    "  object Table1: TTable\r\n"
    "    Left = 40\r\n"
    "  end\r\n"
    "  object Edit1: TDBEdit\r\n"
    "    Left = 8\r\n"
    "    TabOrder = 0\r\n"
    "    Visible = True\r\n"
    "    DataField = 'NOM'\r\n"
    "  end\r\n"
    "end\r\n";

TEST(KvFormMerge, UntouchedDesignWritesTheFileAsRead) {
  EXPECT_EQ(Merge(kFile, kLive, kLive), BinaryToText(TextToBinary(kFile)));
}

TEST(KvFormMergeProps, ChangedValueInPlaceClearedDroppedNewAfterItsPredecessor) {
  std::string live = kLive;
  live.replace(live.find("    Left = 8"), 12, "    Left = 16");                    // moved
  live.replace(live.find("    DataField = 'NOM'\r\n"), 23, "");                    // cleared
  live.replace(live.find("    TabOrder = 0\r\n"), 18, "    Top = 4\r\n    TabOrder = 0\r\n");  // given
  EXPECT_EQ(Merge(kFile, kLive, live),
            "object Form1: TForm1\r\n"
            "  Left = 10\r\n"
            "  ClientHeight = 200\r\n"
            "  ClientWidth = 300\r\n"
            "  object Edit1: TDBEdit\r\n"
            "    Left = 16\r\n"
            "    Top = 4\r\n"
            "    DataSource = Data.DEtudiants\r\n"
            "    TabOrder = 0\r\n"
            "    UseSystemFont = False\r\n"
            "  end\r\n"
            "  object Table1: TTable\r\n"
            "    Left = 40\r\n"
            "  end\r\n"
            "end\r\n");
}

TEST(KvFormMergeProps, ResizedFormDropsTheStaleClientSize) {
  std::string live = kLive;
  live.replace(live.find("Width = 310"), 11, "Width = 410");
  const std::string merged = Merge(kFile, kLive, live);
  EXPECT_EQ(merged.find("ClientWidth"), std::string::npos) << merged;
  EXPECT_NE(merged.find("  Width = 410\r\n"), std::string::npos) << merged;
  EXPECT_NE(merged.find("  ClientHeight = 200\r\n"), std::string::npos) << merged;
}

TEST(KvFormMergeComponents, DeletedGoneUnloadedKeptNewAfterPredecessorMovedKeepsItsValues) {
  const std::string file =
      "object Form1: TForm1\r\n"
      "  object Panel1: TPanel\r\n"
      "    object Fancy1: TEnhancedEdit\r\n"  // never loaded: its class is not registered
      "      Flat = True\r\n"
      "      object Label9: TLabel\r\n"
      "      end\r\n"
      "    end\r\n"
      "    object Edit1: TEdit\r\n"
      "      Left = 1\r\n"
      "      Oddity = 5\r\n"
      "    end\r\n"
      "  end\r\n"
      "  object Button1: TButton\r\n"
      "  end\r\n"
      "  object Button2: TButton\r\n"
      "  end\r\n"
      "end\r\n";
  const std::string start =
      "object Form1: TForm1\r\n"
      "  object Panel1: TPanel\r\n"
      "    object Edit1: TEdit\r\n"
      "      Left = 1\r\n"
      "    end\r\n"
      "  end\r\n"
      "  object Button1: TButton\r\n"
      "  end\r\n"
      "  object Button2: TButton\r\n"
      "  end\r\n"
      "end\r\n";
  // Edit1 dragged from the panel onto the form, Button1 deleted, Button3 inserted.
  const std::string now =
      "object Form1: TForm1\r\n"
      "  object Panel1: TPanel\r\n"
      "  end\r\n"
      "  object Button2: TButton\r\n"
      "  end\r\n"
      "  object Button3: TButton\r\n"
      "  end\r\n"
      "  object Edit1: TEdit\r\n"
      "    Left = 1\r\n"
      "  end\r\n"
      "end\r\n";
  EXPECT_EQ(Merge(file, start, now),
            "object Form1: TForm1\r\n"
            "  object Panel1: TPanel\r\n"
            "    object Fancy1: TEnhancedEdit\r\n"
            "      Flat = True\r\n"
            "      object Label9: TLabel\r\n"
            "      end\r\n"
            "    end\r\n"
            "  end\r\n"
            "  object Button2: TButton\r\n"
            "  end\r\n"
            "  object Button3: TButton\r\n"
            "  end\r\n"
            "  object Edit1: TEdit\r\n"
            "    Left = 1\r\n"
            "    Oddity = 5\r\n"
            "  end\r\n"
            "end\r\n");
}

}  // namespace

namespace {

// A text file keeps its own lines (8-bit text as the old editor wrote it) where nothing changed;
// a changed value and a new component are written as the converter writes them.
TEST(KvFormMergeText, UnchangedLinesAreTheFilesOwn) {
  const std::string file =
      "object Form1: TForm1\r\n"
      "  Caption = 'Keres\xE9s'\r\n"
      "  object Label1: TLabel\r\n"
      "    Left = 8\r\n"
      "    Caption = 'M\xE9gse'\r\n"
      "  end\r\n"
      "end\r\n";
  const TKvStreamObject original = Parse(file);
  std::string moved = file;
  moved.replace(moved.find("Left = 8"), 8, "Left = 9");
  moved.replace(moved.find("  end\r\nend"), 0, "  end\r\n  object Label2: TLabel\r\n    Caption = '\xE9'\r\n");
  const TKvStreamObject merged = KvMergeStreamObject(original, original, Parse(moved));
  EXPECT_EQ(KvMergedText(merged, original, file),
            "object Form1: TForm1\r\n"
            "  Caption = 'Keres\xE9s'\r\n"
            "  object Label1: TLabel\r\n"
            "    Left = 9\r\n"
            "    Caption = 'M\xE9gse'\r\n"
            "  end\r\n"
            "  object Label2: TLabel\r\n"
            "    Caption = #233\r\n"
            "  end\r\n"
            "end\r\n");
}

}  // namespace
