// Consts: the library's message texts, as the VCL words them.
#pragma once

// Components and classes
inline constexpr const char* SDuplicateName = "A component named %s already exists";
inline constexpr const char* SInvalidName = "'%s' is not a valid component name";
inline constexpr const char* SDuplicateClass = "A class named %s already exists";
inline constexpr const char* SClassNotFound = "Class %s not found";
inline constexpr const char* SAssignError = "Cannot assign a %s to a %s";
inline constexpr const char* SAbstractError = "Abstract Error";

// Run-time type information and properties
inline constexpr const char* SUnknownProperty = "Property %s does not exist";
inline constexpr const char* SInvalidPropertyPath = "Invalid property path";
inline constexpr const char* SReadOnlyProperty = "Property is read-only";
inline constexpr const char* SWriteOnlyProperty = "Property is write-only";
inline constexpr const char* SInvalidPropertyValue = "Invalid property value";
inline constexpr const char* SInvalidPropertyType = "Invalid property type: %s";
inline constexpr const char* SInvalidPropertyElement = "Invalid property element: %s";
inline constexpr const char* SPropertyException = "Error reading %s.%s: %s";
inline constexpr const char* SMethodNotFound = "Method %s not found";
inline constexpr const char* SMethodTypeMismatch = "Method %s does not match the event's type";
inline constexpr const char* SAncestorNotFound = "Ancestor for '%s' not found";

// Streams and filers
inline constexpr const char* SReadError = "Stream read error";
inline constexpr const char* SWriteError = "Stream write error";
inline constexpr const char* SInvalidImage = "Invalid stream format";
inline constexpr const char* SFOpenError = "Cannot open file %s";
inline constexpr const char* SFCreateError = "Cannot create file %s";
inline constexpr const char* SMemoryStreamError = "Out of memory while expanding memory stream";
inline constexpr const char* SResNotFound = "Resource %s not found";
inline constexpr const char* SInvalidBinary = "Invalid binary value";
inline constexpr const char* SInvalidString = "Invalid string constant";
inline constexpr const char* SIdentifierExpected = "Identifier expected";
inline constexpr const char* SStringExpected = "String expected";
inline constexpr const char* SNumberExpected = "Number expected";
inline constexpr const char* SCharExpected = "'%s' expected";
inline constexpr const char* SNameTooLong = "Name too long for a form stream: %s";
inline constexpr const char* SSymbolExpected = "%s expected";
inline constexpr const char* SParseError = "%s on line %d";
inline constexpr const char* SInvalidValueTag = "Invalid value tag %d at offset %d";
inline constexpr const char* SStreamTruncated = "Unexpected end of stream at offset %d";
inline constexpr const char* SFormTooLarge = "Form data of %d bytes is larger than the limit of %d bytes";
inline constexpr const char* STooManyComponents = "More than %d components";
inline constexpr const char* SStringTooLong = "String value longer than %d bytes";
inline constexpr const char* SStringTooLongText = "String value longer than %d characters";
inline constexpr const char* STreeTooDeep = "Tree items nested deeper than %d levels";

// Lists
inline constexpr const char* SListIndexError = "List index out of bounds (%d)";
inline constexpr const char* SListCapacityError = "List capacity out of bounds (%d)";
inline constexpr const char* SListCountError = "List count out of bounds (%d)";
inline constexpr const char* SDuplicateString = "String list does not allow duplicates";
inline constexpr const char* SSortedListError = "Operation not allowed on sorted string list";
inline constexpr const char* SDuplicateItem = "List does not allow duplicates ($0%x)";

// Conversions
inline constexpr const char* SInvalidInteger = "'%s' is not a valid integer value";
inline constexpr const char* SInvalidFloat = "'%s' is not a valid floating point value";
inline constexpr const char* SUnsupportedCodePage = "Code page %d is not supported";

// Forms and menus
inline constexpr const char* SDuplicateMenus = "Menu '%s' is already being used by another form";

// Masked edits
inline constexpr const char* SMaskEditErr = "Invalid input value.  Use escape key to abandon changes";
