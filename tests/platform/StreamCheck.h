// Checks shared by the tests of the control units: a component's published properties survive
// a write/read round trip, and values at their defaults are not written.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "Classes.h"
#include "TypInfo.h"

// The form stream of `root` as Delphi text (for failure messages and for finding properties).
std::string StreamAsText(TComponent* root);

// Every published, readable property of `obj` as text, sub-objects expanded as "Font.Size".
std::vector<std::pair<std::string, std::string>> PublishedValues(TObject* obj);

// Writes `root` (a form owning `component`), reads the stream into a fresh instance of the
// root's class, and expects the copy of `component` to have the same published values. Returns
// the text of the stream, so a test can check which properties were written.
std::string ExpectRoundTrip(TComponent* root, TComponent* component);

// Expects no ordinal property of `component` (a direct child of the root) that sits at its
// declared default to appear in `text`, the stream text from ExpectRoundTrip.
void ExpectDefaultsOmitted(TComponent* component, const std::string& text);
