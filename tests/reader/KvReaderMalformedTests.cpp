// Malformed and hostile form streams: every one ends in a read error, never in a crash, a hang
// or a read past the data.
#include <gtest/gtest.h>

#include "Consts.h"
#include "ReaderTestUtil.h"

namespace {

const char* kLive = R"(object Form1: TForm1
  Caption = 'Main'
  object Button1: TButton
    Caption = 'OK'
  end
  object Memo1: TMemo
  end
end
)";

// Known components, known and unknown properties, and an unknown component holding values of
// every layout, so that truncation hits each way of reading.
const char* kStream = R"(object Form1: TForm1
  Caption = 'Main'
  Font.Style = [fsBold, fsItalic]
  Left = 10
  OnCreate = FormCreate
  object Button1: TButton
    Caption = 'OK'
    Foo = 1.5
    OnClick = Button1Click
  end
  object Memo1: TMemo
    Lines.Strings = (
      'one')
  end
  object Other1: TOther
    Data = {
      0102030405}
    Set = [a, b]
    Wide = #1055
    Items = <
      item [1]
        X = 1
      end>
    object Inner: TInner
      Y = 100000
    end
  end
end
)";

std::string WithReplaced(std::string bytes, const std::string& what, const std::string& with) {
  size_t at = bytes.find(what);
  EXPECT_NE(at, std::string::npos) << what;
  if (at != std::string::npos) bytes.replace(at, what.size(), with);
  return bytes;
}

// The message of the read error that filtering `stream` against kLive raises.
std::string ReadErrorOf(const std::string& stream) {
  auto form = LoadForm(kLive);
  try {
    Filter(form.get(), stream);
  } catch (const EReadError& e) {
    return e.Message();
  }
  ADD_FAILURE() << "no read error";
  return "";
}

TEST(KvReaderMalformed, EveryTruncationIsAReadError) {
  auto form = LoadForm(kLive);
  const std::string full = TextToBinary(kStream);
  ASSERT_NO_THROW(Filter(form.get(), full));
  for (size_t n = 0; n < full.size(); ++n)
    EXPECT_THROW(Filter(form.get(), full.substr(0, n)), EReadError) << "cut after " << n << " bytes";
}

TEST(KvReaderMalformed, BadTagsAndLengthsAreReadErrors) {
  const std::string full = TextToBinary(kStream);
  // An unknown value tag inside a copied component.
  EXPECT_NE(ReadErrorOf(WithReplaced(full, std::string("Set\x0B", 4), std::string("Set\x7F", 4)))
                .find("Invalid value tag 127"),
            std::string::npos);
  // Binary data claiming far more bytes than the stream holds: refused before anything is read.
  EXPECT_NE(ReadErrorOf(WithReplaced(full, std::string("Data\x0A\x05\x00\x00\x00", 9),
                                     std::string("Data\x0A\xF0\xFF\xFF\xFF", 9)))
                .find("Unexpected end of stream"),
            std::string::npos);
  // A signature that is not "TPF0".
  EXPECT_EQ(ReadErrorOf("TPF1" + full.substr(4)), SInvalidImage);
}

TEST(KvReaderMalformed, DeepNestingIsRefused) {
  // Lists inside lists in a copied value, and records of a listed component inside each other.
  std::string lists = "TPF0\x06TOther\x06Other1\x05Items";
  lists += std::string(100000, '\x01');
  lists += std::string(100002, '\x00');
  auto form = LoadForm(kLive);
  EXPECT_THROW(Filter(form.get(), lists), EReadError);

  const std::string end(1, '\0');
  std::string nested =
      "TPF0\x06TForm1\x05"
      "Form1" +
      end;
  for (int i = 0; i < 10000; ++i)
    nested +=
        "\x07TButton\x07"
        "Button1" +
        end;
  nested += std::string(10000 + 1, '\0');
  EXPECT_NE(ReadErrorOf(nested).find("Nesting too deep"), std::string::npos);
}

TEST(KvReaderMalformed, PropertyErrorsNameTheComponentAndThePath) {
  auto text = [](const std::string& property) {
    return TextToBinary("object Form1: TForm1\n  object Button1: TButton\n    " + property + "\n  end\nend\n");
  };
  EXPECT_EQ(ReadErrorOf(text("Font.Style = [fsBold, fsWobbly]")),
            "Error reading Button1.Font.Style: Invalid property value");
  EXPECT_EQ(ReadErrorOf(text("Font.Style = 3")), "Error reading Button1.Font.Style: Invalid property value");
  EXPECT_EQ(ReadErrorOf(text("Bogus.Size = 3")), "Error reading Button1.Bogus.Size: Property Bogus does not exist");
  EXPECT_EQ(ReadErrorOf(text("Caption.Size = 3")), "Error reading Button1.Caption.Size: Invalid property path");
  EXPECT_EQ(ReadErrorOf(text("Left = 'wide'")), "Error reading Button1.Left: Invalid property value");
  EXPECT_EQ(ReadErrorOf(text("OnClick = 'handler'")), "Error reading Button1.OnClick: Invalid property value");
  EXPECT_EQ(ReadErrorOf(text("Font = 12")), "Error reading Button1.Font: Invalid property value");
  // The root's own properties name the root.
  EXPECT_EQ(ReadErrorOf(TextToBinary("object Form1: TForm1\n  Caption = 1\nend\n")),
            "Error reading Form1.Caption: Invalid property value");
}

}  // namespace
