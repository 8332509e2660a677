// kvform's commands that need live forms, and so Qt, are in the module kvform-gui. Loading it only
// when one of them runs lets the conversions start without the GUI libraries.
#pragma once

#include "Commands.h"

// The handler the module exports as symbol. The module is found at KVFORM_GUI_MODULE (set by the
// build) relative to the program's folder and stays loaded until exit, as do the forms it made.
// std::runtime_error when the module or the symbol cannot be found.
TCommandHandler LoadGuiCommand(const char* symbol);
