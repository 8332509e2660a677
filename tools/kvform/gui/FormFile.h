// Loading a form file into a live form, for the commands that look at forms.
#pragma once

#include <functional>
#include <memory>
#include <string>

class TForm;

// One problem met while reading: the component path ("Form1.Panel1.Button1") and the message.
using TLoadProblemProc = std::function<void(const std::string& path, const std::string& message)>;

// Reads a binary (framed or bare) or text form file into a new form, offscreen. With a problem
// callback, every recoverable problem is reported and reading goes on; without one, the first
// raises. Event handler names are accepted without code bound to them.
std::unique_ptr<TForm> LoadFormFile(const std::string& fileName, const TLoadProblemProc& onProblem = nullptr);
