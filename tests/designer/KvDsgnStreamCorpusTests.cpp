// Every corpus form made of registered classes, opened in a design and saved again, keeps its
// components, its properties and its handler names.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <regex>
#include <set>

#include "KvDsgn.h"
#include "StdReg.h"

namespace fs = std::filesystem;

namespace {

std::string TextOfFile(const fs::path& file) {
  TMemoryStream in, out;
  in.LoadFromFile(file.string());
  ObjectResourceToText(&in, &out);
  return std::string(reinterpret_cast<const char*>(out.Memory()), static_cast<size_t>(out.GetSize()));
}

// A text form by object path ("Form1.Panel1.Button1"): each object's class, and the first line
// of each property's value.
struct TFormOutline {
  std::map<std::string, std::string> Classes;
  std::map<std::string, std::map<std::string, std::string>> Properties;
};

TFormOutline Outline(const std::string& text) {
  static const std::regex header(R"(( *)(?:object|inherited|inline) (\w*): (\w+).*)");
  static const std::regex property(R"(( *)([\w.]+) = (.*))");
  TFormOutline o;
  std::vector<std::string> path;
  size_t pos = 0;
  while (pos < text.size()) {
    size_t eol = text.find("\r\n", pos);
    if (eol == std::string::npos) eol = text.size();
    const std::string line = text.substr(pos, eol - pos);
    pos = eol + 2;
    std::smatch m;
    if (std::regex_match(line, m, header)) {
      path.resize(m[1].length() / 2);
      path.push_back(m[2].str());
      std::string key;
      for (const auto& p : path) key += (key.empty() ? "" : ".") + p;
      o.Classes[key] = m[3].str();
    } else if (std::regex_match(line, m, property) && m[1].length() / 2 == static_cast<long>(path.size())) {
      std::string key;
      for (const auto& p : path) key += (key.empty() ? "" : ".") + p;
      o.Properties[key][m[2].str()] = m[3].str();
    }
  }
  return o;
}

// Whether `value` is what the class stores by default, so that writing it is left out.
bool IsStreamDefault(const std::string& className, const std::string& name, const std::string& value) {
  TClass cls = GetClass(className);
  PPropInfo p = cls ? GetPropInfo(cls, name) : nullptr;
  if (!p || p->Default == NoDefault) return false;
  if (p->PropType->Kind == tkEnumeration) return SameText(GetEnumName(p->PropType, p->Default), value);
  return p->PropType->Kind == tkInteger && value == std::to_string(p->Default);
}

TEST(KvDsgnStreamCorpus, ResaveKeepsComponentsPropertiesAndHandlers) {
  const fs::path corpus = fs::path(KV_CORPUS_DIR) / "binary";
  if (!fs::is_directory(corpus)) GTEST_SKIP() << "corpus not found";
  RegisterStandardClasses();
  const fs::path dir = fs::temp_directory_path() / ("kvdsgn-corpus-" + std::to_string(::getpid()));
  fs::create_directories(dir);
  // Problems of the environment or the library, not of loading and saving: a database file of
  // another machine, an inherited form without its ancestor's file.
  const std::regex elsewhere("unable to open database|Ancestor for '\\w+' not found");
  int saved = 0;
  for (const auto& e : fs::directory_iterator(corpus)) {
    SCOPED_TRACE(e.path().filename().string());
    const TFormOutline before = Outline(TextOfFile(e.path()));
    // The root's class is the application's own form class; it is read into a form.
    if (std::any_of(before.Classes.begin(), before.Classes.end(),
                    [](const auto& c) { return c.first.find('.') != std::string::npos && !GetClass(c.second); }))
      continue;
    std::unique_ptr<TKFormDesigner> design;
    try {
      design = std::make_unique<TKFormDesigner>(nullptr, nullptr, e.path().string(), nullptr);
    } catch (const Exception& x) {
      EXPECT_TRUE(std::regex_search(x.Message(), elsewhere)) << x.Message();
      continue;
    }
    design->WriteUnits((dir / "Saved.dfm").string(), false);
    design.reset();
    ++saved;
    const TFormOutline after = Outline(TextOfFile(dir / "Saved.dfm"));
    EXPECT_EQ(after.Classes, before.Classes);
    for (const auto& [component, properties] : after.Properties) {  // no handler moved or made up
      for (const auto& [name, value] : properties) {
        if (name.starts_with("On")) {
          EXPECT_EQ(before.Properties.at(component).count(name), 1u) << component << "." << name;
        }
      }
    }
    for (const auto& [component, properties] : before.Properties) {
      const auto& kept =
          after.Properties.count(component) ? after.Properties.at(component) : std::map<std::string, std::string>();
      for (const auto& [name, value] : properties) {
        if (kept.count(name)) {
          // Handlers by name, texts as they were; sizes and positions follow the live controls.
          if (name.starts_with("On") || value.starts_with("'")) {
            EXPECT_EQ(kept.at(name), value) << component << "." << name;
          }
        } else if (name.starts_with("Client")) {
          EXPECT_TRUE(kept.count(name.substr(6))) << component << "." << name;  // written as the outer size
        } else {
          EXPECT_TRUE(IsStreamDefault(before.Classes.at(component), name, value)) << component << "." << name;
        }
      }
    }
  }
  EXPECT_GE(saved, 16);  // every such file today
  std::error_code ec;
  fs::remove_all(dir, ec);
}

}  // namespace
