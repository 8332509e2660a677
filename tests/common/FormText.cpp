#include "FormText.h"

std::unique_ptr<TForm> ReadFormText(const std::string& text, bool designing, std::vector<std::string>* problems) {
  TMemoryStream in, bin;
  in.Write(text.data(), static_cast<int64_t>(text.size()));
  in.SetPosition(0);
  ObjectTextToBinary(&in, &bin);
  bin.SetPosition(0);
  auto form = std::make_unique<TForm>(nullptr);
  if (designing) form->SetDesigning(true);
  TReader reader(&bin, 4096);
  reader.OnFindMethod = [](TReader*, const std::string&, const TMethodEntry*& address, bool& error) {
    address = nullptr;
    error = false;
  };
  if (problems)
    reader.OnError = [problems](TReader*, const std::string& message, bool& handled) {
      problems->push_back(message);
      handled = true;
    };
  reader.ReadRootComponent(form.get());
  return form;
}
