// Forms read from Delphi form text, as the tests of several folders write them.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "Forms.h"

// A fresh TForm read from Delphi form text with the library's reader. Handler names bind to
// nothing (a test form has no code); with `problems`, what the reader reports is collected
// there and reading goes on. The form's classes must be registered.
std::unique_ptr<TForm> ReadFormText(const std::string& text, bool designing = false,
                                    std::vector<std::string>* problems = nullptr);
