// StdReg: makes every class of the library known to form streams by name.
#pragma once

// Registers the forms, controls, menus, dialogs and data classes, once.
void RegisterStandardClasses();
