// XPMan: TXPManifest. On Windows, dropping it on a form links a manifest that asks for version 6
// of the common controls, so that the program's controls take the themed look of the desktop.
// Here the controls are always drawn by the platform's own style, themed already, so the
// component has nothing left to switch: it is kept so that the form files that hold one load and
// save it unchanged. It has no properties beyond TComponent's.
#pragma once

#include "Classes.h"

class TXPManifest : public TComponent {
  KV_CLASS(TXPManifest, TComponent)
 public:
  explicit TXPManifest(TComponent* owner) : TComponent(owner) {}
};

void RegisterXPManClasses();
