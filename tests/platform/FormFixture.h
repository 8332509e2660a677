// Test fixtures of the control units: a form that the test fills with components.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <type_traits>

#include "Forms.h"
#include "StdReg.h"

// A fresh 400 x 300 form at the origin, the standard classes registered.
struct FormFixture : ::testing::Test {
  void SetUp() override {
    RegisterStandardClasses();
    form = std::make_unique<TForm>(nullptr);
    form->SetBounds(0, 0, 400, 300);
  }
  // A component of class T owned by the form; a control is parented to `parent` or the form.
  template <class T>
  T* Add(const char* name, TWinControl* parent = nullptr) {
    auto* c = new T(form.get());
    c->SetName(name);
    if constexpr (std::is_base_of_v<TControl, T>) c->SetParent(parent ? parent : form.get());
    return c;
  }
  // Writes the form and reads it into a fresh one.
  std::unique_ptr<TForm> Reload() const {
    TMemoryStream s;
    s.WriteComponent(form.get());
    s.SetPosition(0);
    auto copy = std::make_unique<TForm>(nullptr);
    s.ReadComponent(copy.get());
    return copy;
  }
  std::unique_ptr<TForm> form;
};

// Form1, a 400 x 300 form at (50, 50), the standard classes registered; freed with the
// messages its going posts.
struct Form1Fixture : ::testing::Test {
  void SetUp() override {
    RegisterStandardClasses();
    Form = new TForm(nullptr);
    Form->SetName("Form1");
    Form->SetBounds(50, 50, 400, 300);
  }
  void TearDown() override {
    delete Form;
    Application->ProcessMessages();
  }
  TForm* Form = nullptr;
};
