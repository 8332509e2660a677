// KvReg: what the kit tells a host environment about its classes: the three components of the
// "Korvata" palette page, and the classes that form streams must find by name.
#pragma once

namespace KvReg {
void Register();
}
