// XPMan: TXPManifest.
#include "XPMan.h"

KV_IMPLEMENT_CLASS(TXPManifest, "XPMan") {}

void RegisterXPManClasses() { RegisterClasses({TXPManifest::StaticClass()}); }
