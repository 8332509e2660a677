// KvStub: stand-ins for components of unregistered classes.
#include "KvStub.h"

#include "Graphics.h"
#include "SysUtils.h"

KV_IMPLEMENT_CLASS(TKvControlStub, "KvStub") {}
KV_IMPLEMENT_CLASS(TKvComponentStub, "KvStub") {}

namespace {
namespace KV_UNIT {

bool IsIntegerTag(TValueType v) { return v == vaInt8 || v == vaInt16 || v == vaInt32; }

}  // namespace KV_UNIT
}  // namespace

void TKvStubRecord::Read(TReader* reader, const std::function<bool(const std::string&, int)>& own) {
  TKvStreamObject body;
  while (!reader->EndOfList()) {
    TKvStreamProp p;
    p.Name = reader->ReadRawStr();
    const int64_t value = reader->Position();
    if (KV_UNIT::IsIntegerTag(reader->NextValue()) && own(p.Name, reader->ReadInteger())) continue;
    reader->SetPosition(value);
    p.Value = KvReadStreamValue(*reader);
    Props.push_back(std::move(p));
  }
  reader->ReadListEnd();
  while (!reader->EndOfList()) Children.push_back(KvReadStreamRecord(*reader));
  reader->ReadListEnd();
}

void TKvStubRecord::Write(TWriter* writer, const std::string& name, const std::function<void()>& own) const {
  writer->WriteRawStr(ClassName);
  writer->WriteStr(name);
  own();
  for (const TKvStreamProp& p : Props) {
    const std::string bytes = KvStreamPropBytes(p);
    writer->Write(bytes.data(), static_cast<int64_t>(bytes.size()));
  }
  writer->WriteListEnd();
  for (const TKvStreamObject& c : Children) {
    const std::string bytes = KvStreamRecordBytes(c);
    writer->Write(bytes.data(), static_cast<int64_t>(bytes.size()));
  }
  writer->WriteListEnd();
}

// --- The control stub ------------------------------------------------------------------------

TKvControlStub::TKvControlStub(TComponent* owner) : TCustomControl(owner) { SetBounds(0, 0, 100, 40); }

void TKvControlStub::ReadState(TReader* reader) {
  Record.Read(reader, [this](const std::string& name, int v) {
    if (SameText(name, "Left")) SetLeft(v);
    else if (SameText(name, "Top")) SetTop(v);
    else if (SameText(name, "Width")) SetWidth(v);
    else if (SameText(name, "Height")) SetHeight(v);
    else return false;
    return true;
  });
}

void TKvControlStub::WriteState(TWriter* writer) {
  Record.Write(writer, GetName(), [this, writer] {
    for (auto [name, v] : {std::pair{"Left", GetLeft()}, {"Top", GetTop()}, {"Width", GetWidth()}, {"Height", GetHeight()}}) {
      writer->WriteStr(name);
      writer->WriteInteger(v);
    }
  });
}

void TKvControlStub::Paint() {
  TCanvas* c = Canvas();
  const TRect r = Rect(0, 0, GetWidth(), GetHeight());
  c->GetBrush()->SetStyle(bsSolid);
  c->GetBrush()->SetColor(clBtnFace);
  c->FillRect(r);
  c->GetBrush()->SetColor(clGray);
  c->FrameRect(r);
  c->GetBrush()->SetStyle(bsClear);
  c->GetFont()->SetColor(clGrayText);
  c->TextRect(Rect(2, 2, r.Right - 2, r.Bottom - 2), 4, 4, GetName() + ": " + Record.ClassName);
}

// --- The component stub ----------------------------------------------------------------------

void TKvComponentStub::ReadState(TReader* reader) {
  Record.Read(reader, [this](const std::string& name, int v) {
    const auto info = static_cast<uint32_t>(GetDesignInfo());
    const auto part = static_cast<uint32_t>(static_cast<uint16_t>(v));
    if (SameText(name, "Left")) SetDesignInfo(static_cast<int32_t>((info & 0xFFFF0000u) | part));
    else if (SameText(name, "Top")) SetDesignInfo(static_cast<int32_t>((info & 0xFFFFu) | part << 16));
    else return false;
    return true;
  });
}

void TKvComponentStub::WriteState(TWriter* writer) {
  Record.Write(writer, GetName(), [this, writer] {
    writer->WriteStr("Left");
    writer->WriteInteger(static_cast<int16_t>(GetDesignInfo()));
    writer->WriteStr("Top");
    writer->WriteInteger(static_cast<int16_t>(GetDesignInfo() >> 16));
  });
}

// --- Making stubs ----------------------------------------------------------------------------

TClass KvStubClass(TReader* reader) {
  const int64_t start = reader->Position();
  bool sized = false;
  while (!sized && !reader->EndOfList()) {
    const std::string name = reader->ReadRawStr();
    sized = SameText(name, "Width") || SameText(name, "Height");
    reader->SkipValue();
  }
  reader->SetPosition(start);
  // Only the root holds non-visual components among its controls; a record inside a control
  // is a control (an inline frame stores no size).
  const bool inControl = reader->Parent != reader->Root && Cast<TWinControl>(reader->Parent);
  return sized || inControl ? TKvControlStub::StaticClass() : TKvComponentStub::StaticClass();
}

TComponent* KvCreateStub(TClass stubClass, TComponent* owner, const std::string& className) {
  if (stubClass == TKvControlStub::StaticClass()) {
    auto* stub = new TKvControlStub(owner);
    stub->Record.ClassName = className;
    return stub;
  }
  if (stubClass != TKvComponentStub::StaticClass()) return nullptr;
  auto* stub = new TKvComponentStub(owner);
  stub->Record.ClassName = className;
  return stub;
}

std::string KvStreamedClassName(const TComponent* component) {
  if (auto* c = dynamic_cast<const TKvControlStub*>(component)) return c->Record.ClassName;
  if (auto* c = dynamic_cast<const TKvComponentStub*>(component)) return c->Record.ClassName;
  return component->ClassName();
}

bool KvIsStub(const TComponent* component) {
  return dynamic_cast<const TKvControlStub*>(component) || dynamic_cast<const TKvComponentStub*>(component);
}
