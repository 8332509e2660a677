#include "StreamCheck.h"

namespace {

void Collect(TObject* obj, const std::string& prefix, int depth,
             std::vector<std::pair<std::string, std::string>>& out) {
  for (PPropInfo p : GetPropList(obj->ClassType())) {
    if (!p->HasGetter() || p->PropType->Kind == tkMethod) continue;
    std::string name = prefix + p->Name;
    if (p->PropType->Kind == tkClass) {
      TObject* sub = GetObjectProp(obj, p);
      if (auto* c = Cast<TComponent>(sub)) {
        out.emplace_back(name, c->GetName());
      } else if (auto* strings = Cast<TStrings>(sub)) {
        out.emplace_back(name, strings->GetText());
      } else if (auto* coll = Cast<TCollection>(sub)) {
        out.emplace_back(name + ".Count", IntToStr(coll->Count()));
        for (int i = 0; i < coll->Count() && depth < 4; ++i)
          Collect(coll->Items(i), name + "[" + IntToStr(i) + "].", depth + 1, out);
      } else if (sub && depth < 4) {
        Collect(sub, name + ".", depth + 1, out);
      }
      continue;
    }
    out.emplace_back(name, GetPropValueText(obj, p));
  }
}

}  // namespace

std::string StreamAsText(TComponent* root) {
  TMemoryStream bin, text;
  bin.WriteComponent(root);
  bin.SetPosition(0);
  ObjectBinaryToText(&bin, &text);
  return std::string(reinterpret_cast<const char*>(text.Memory()), text.GetSize());
}

std::vector<std::pair<std::string, std::string>> PublishedValues(TObject* obj) {
  std::vector<std::pair<std::string, std::string>> out;
  Collect(obj, "", 0, out);
  return out;
}

std::string ExpectRoundTrip(TComponent* root, TComponent* component) {
  TMemoryStream s;
  s.WriteComponent(root);
  s.SetPosition(0);
  std::unique_ptr<TComponent> copy(static_cast<TComponent*>(root->ClassType()->Create(nullptr)));
  s.ReadComponent(copy.get());
  TComponent* back = copy->FindComponent(component->GetName());
  EXPECT_NE(back, nullptr) << component->GetName() << " not read back";
  if (back) {
    EXPECT_EQ(back->ClassType(), component->ClassType());
    auto want = PublishedValues(component);
    auto got = PublishedValues(back);
    EXPECT_EQ(got.size(), want.size());
    for (size_t i = 0; i < want.size() && i < got.size(); ++i)
      EXPECT_EQ(got[i], want[i]) << component->ClassName() << "." << want[i].first;
  }
  return StreamAsText(root);
}

void ExpectDefaultsOmitted(TComponent* component, const std::string& text) {
  std::string header = "object " + component->GetName() + ": " + component->ClassName();
  size_t start = text.find(header);
  ASSERT_NE(start, std::string::npos) << header;
  size_t end = text.find("\r\n  end", start);  // first end at the component's own depth or deeper
  std::string block = text.substr(start, end == std::string::npos ? std::string::npos : end - start);
  for (PPropInfo p : GetPropList(component->ClassType())) {
    TTypeKind k = p->PropType->Kind;
    if (p->Default == NoDefault || !(k == tkInteger || k == tkEnumeration || k == tkSet || k == tkChar)) continue;
    if (GetOrdProp(component, p) != p->Default) continue;
    EXPECT_EQ(block.find("\r\n    " + p->Name + " = "), std::string::npos)
        << component->ClassName() << "." << p->Name << " is at its default but was written";
  }
}
