// Fuzz target: list and tree view "Items.Data" blobs into TListItems / TTreeNodes. The first
// byte picks the model. Any input must end in items or an EReadError; items that were read must
// write a blob that reads back to the same bytes when written again.
#include <cstdlib>

#include "ComCtrls.h"

namespace {
template <class Items>
std::string FuzzWriteItems(Items& items) {
  TMemoryStream out;
  items.WriteData(&out);
  return {reinterpret_cast<const char*>(out.Memory()), static_cast<size_t>(out.GetSize())};
}

template <class Items>
void FuzzItems(const uint8_t* data, size_t size) {
  Items items;
  TMemoryStream in;
  in.Write(data, static_cast<int64_t>(size));
  in.SetPosition(0);
  try {
    items.ReadData(&in);
  } catch (const EReadError&) {
    return;
  }
  std::string once = FuzzWriteItems(items);
  Items again;
  TMemoryStream s;
  s.Write(once.data(), static_cast<int64_t>(once.size()));
  s.SetPosition(0);
  again.ReadData(&s);  // what we wrote must read
  if (FuzzWriteItems(again) != once) std::abort();
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  if (data[0] & 1) FuzzItems<TTreeNodes>(data + 1, size - 1);
  else FuzzItems<TListItems>(data + 1, size - 1);
  return 0;
}
