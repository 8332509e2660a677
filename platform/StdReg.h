// StdReg: makes every class of the library known to form streams by name, and puts the
// standard components on the component palette.
#pragma once

// Registers the forms, controls, menus, dialogs and data classes, once.
void RegisterStandardClasses();

// The library's own package registration: the standard components on the palette pages
// "Standard", "Additional", "Win32", "System", "Data Access", "Data Controls", "ADO", "Dialogs"
// and "Samples", in the order Delphi shows them; menu items, fields and actions get no icon of their own on
// a designed form. Goes through RegisterComponents / RegisterNoIcon, so a registration handler
// must be installed (EComponentError otherwise).
void RegisterStandardComponents();
