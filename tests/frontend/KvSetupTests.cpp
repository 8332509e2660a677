// A host's whole set-up is making the designer component: the classes of the palette and of
// designed forms, the kit's own, and the palette's bitmaps come with it.
#include <gtest/gtest.h>

#include "Forms.h"
#include "KvClass.h"
#include "KvFrmDsg.h"
#include "SysUtils.h"

// Run alone (as ctest runs every test), nothing is registered before the component is made.
TEST(OneCallSetup, TheDesignerComponentRegistersItsClassesAndDrawsItsPaletteBitmaps) {
  auto* host = new TForm(Application);
  auto* designer = new TKvFormDesigner(host);
  designer->SetRecoveryFolder("");
  designer->NewForm();  // its window holds a TBevel, designs are TForms
  ASSERT_EQ(designer->DesignCount(), 1);
  EXPECT_NE(RegisteredPages->IndexOf("Standard"), -1);
  EXPECT_NE(RegisteredPages->IndexOf("Korvata"), -1);
  TBitmap* unknown = GetComponentBitmapByName("KVUNKNOWN");
  ASSERT_NE(unknown, nullptr);
  std::string missing;
  for (int page = 0; page < RegisteredPages->Count(); ++page) {
    if (RegisteredPages->Get(page) == "Korvata") continue;  // the kit's own are not drawn yet
    const auto* classes = static_cast<const TList*>(RegisteredPages->GetObject(page));
    for (int i = 0; i < classes->Count(); ++i) {
      TBitmap* b = GetComponentBitmapByName(ClassItem(classes, i)->Name);
      if (!b || b == unknown || b->GetWidth() != 24) missing += std::string(" ") + ClassItem(classes, i)->Name;
    }
  }
  EXPECT_EQ(missing, "");
  designer->CloseAll(true);
  delete host;
}
