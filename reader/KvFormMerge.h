// KvFormMerge: saving a design without disturbing what the user did not touch. A form stream is
// parsed into its records, each property kept as the bytes it was read with; the file a design
// was opened from is then merged with what the live form writes now, against what it wrote
// when the design began:
//  - what the live form writes as it wrote it at the start (untouched) keeps the file's bytes,
//    order and all, including what the live form cannot write at all: references to roots that
//    are not loaded, properties the classes lack, components that could not be made;
//  - what changed since the start is written as the live form writes it now, in place, and a
//    new property or component goes after its predecessor in the live form's order;
//  - a component deleted since the start disappears; one the file holds but the design never
//    loaded stays as it was read.
#pragma once

#include <string>
#include <vector>

#include "Classes.h"

struct TKvStreamProp {
  std::string Name;   // as stored, 8-bit
  std::string Value;  // the value's tag and payload, byte for byte
};

struct TKvStreamObject {
  std::string Header;  // prefix, class name and name, byte for byte
  std::string ClassName;
  std::string Name;
  std::vector<TKvStreamProp> Props;
  std::vector<TKvStreamObject> Children;
  const TKvStreamObject* Source = nullptr;  // of a merge: the original's record it keeps
};

// Parses the form stream at the stream's position ("TPF0" first); the platform reader's errors.
TKvStreamObject KvReadStreamObject(TStream* stream);
// Writes "TPF0" and the records.
void KvWriteStreamObject(const TKvStreamObject& root, TStream* stream);

// The parts: one component record (header included), a record's properties and children (after
// its header), one value; and the bytes of a record and of a property.
TKvStreamObject KvReadStreamRecord(TReader& reader);
void KvReadStreamBody(TReader& reader, TKvStreamObject& object);
std::string KvReadStreamValue(TReader& reader);
std::string KvStreamRecordBytes(const TKvStreamObject& object);
std::string KvStreamPropBytes(const TKvStreamProp& prop);

// The file as it should be saved: `original` (the file as read) with the changes from
// `baseline` (the live form's stream when the design began) to `current` (its stream now).
TKvStreamObject KvMergeStreamObject(const TKvStreamObject& original, const TKvStreamObject& baseline,
                                    const TKvStreamObject& current);

// A merge as text form, for a file that was read from `originalText` (whose records are
// `original`): every record and property the merge kept from the file is written with the
// file's own lines for it (its 8-bit characters and line breaks), the rest as the platform's
// conversion writes it. Lines end in CR LF.
std::string KvMergedText(const TKvStreamObject& merged, const TKvStreamObject& original,
                         const std::string& originalText);
