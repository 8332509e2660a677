// Loading a form file into a live form, for the commands that look at forms.
#pragma once

#include <memory>
#include <string>

#include "FormLoad.h"

// Reads a binary (framed or bare) or text form file into a new form, offscreen. With a problem
// callback, every recoverable problem is reported and reading goes on; without one, the first
// raises. Event handler names are listed unbound, without code.
std::unique_ptr<TForm> LoadFormFile(const std::string& fileName, const TLoadProblemProc& onProblem = nullptr);
