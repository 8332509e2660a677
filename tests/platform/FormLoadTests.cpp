// Saved forms loaded as live forms with the host's handlers bound by name.
#include <gtest/gtest.h>

#include "FormLoad.h"
#include "Forms.h"
#include "StdCtrls.h"

namespace {

const char* kUnit1 =
    "object Form1: TForm1\r\n"
    "  Caption = 'Orders'\r\n"
    "  OnCreate = FormCreate\r\n"
    "  object Button1: TButton\r\n"
    "    Caption = 'Post'\r\n"
    "    OnClick = Button1Click\r\n"
    "  end\r\n"
    "  object Button2: TButton\r\n"
    "    OnClick = Button2Click\r\n"
    "  end\r\n"
    "  object Edit1: TEdit\r\n"
    "    OnChange = button1click\r\n"
    "    OnKeyPress = Edit1Change\r\n"
    "  end\r\n"
    "end\r\n";

TMemoryStream* Stream(std::string_view text, TMemoryStream& s) {
  s.WriteBuffer(text.data(), static_cast<int64_t>(text.size()));
  s.SetPosition(0);
  return &s;
}

}  // namespace

// Two handlers bound by name (one of them to two events, matched without regard to case), one
// name the host lacks and one handler of another event type listed, from text and from binary.
TEST(FormLoad, BindsTheHostsHandlersByNameAndListsTheRest) {
  for (bool binary : {false, true}) {
    TMemoryStream text, input;
    Stream(kUnit1, text);
    if (binary) ObjectTextToResource(&text, &input);
    else input.LoadFromStream(&text);
    input.SetPosition(0);

    std::vector<std::string> calls;
    TFormLoad load;
    load.Handlers.Add("Button1Click", TNotifyEvent([&](TObject* sender) {
                        calls.push_back(static_cast<TComponent*>(sender)->GetName());
                      }))
        .Add("FormCreate", TNotifyEvent([&](TObject*) { calls.push_back("create"); }))
        .Add("Edit1Change", TNotifyEvent([&](TObject*) { calls.push_back("change"); }));
    std::unique_ptr<TForm> form = LoadForm(&input, load);
    ASSERT_NE(form, nullptr);
    EXPECT_EQ(form->GetCaption(), "Orders");
    EXPECT_EQ(load.Unbound,
              (std::vector<std::string>{"Form1.Button2.OnClick = Button2Click", "Form1.Edit1.OnKeyPress = Edit1Change"}))
        << (binary ? "binary" : "text");

    auto* button1 = static_cast<TButton*>(form->FindComponent("Button1"));
    auto* button2 = static_cast<TButton*>(form->FindComponent("Button2"));
    auto* edit = static_cast<TEdit*>(form->FindComponent("Edit1"));
    button1->Click();
    button2->Click();  // unbound: nothing runs
    edit->SetText("x");
    EXPECT_EQ(calls, (std::vector<std::string>{"Button1", "Edit1"}));
  }
}

TEST(FormLoad, ProblemsAreReportedWithTheirPathOrRaise) {
  const char* bad =
      "object Form1: TForm1\r\n"
      "  object Button1: TButton\r\n"
      "    NoSuchProperty = 1\r\n"
      "    Caption = 'kept'\r\n"
      "  end\r\n"
      "end\r\n";
  TMemoryStream a, b;
  TFormLoad strict;
  EXPECT_THROW(LoadForm(Stream(bad, a), strict), EReadError);

  TFormLoad lenient;
  std::vector<std::string> problems;
  lenient.OnProblem = [&](const std::string& path, const std::string& message) {
    problems.push_back(path + ": " + message);
  };
  auto form = LoadForm(Stream(bad, b), lenient);
  ASSERT_EQ(problems.size(), 1u);
  EXPECT_TRUE(problems[0].starts_with("Form1: ") && problems[0].find("Button1.NoSuchProperty") != std::string::npos)
      << problems[0];
  EXPECT_EQ(static_cast<TButton*>(form->FindComponent("Button1"))->GetCaption(), "kept");

  TFormLoad missing;
  EXPECT_THROW(LoadForm("/no/such/Unit1.dfm", missing), EFOpenError);
}
