// SysUtils: exceptions, string and number conversion, file names, text encodings.
#pragma once

#include <cstdint>
#include <exception>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

// Base of every error the library raises. The message is UTF-8.
class Exception : public std::exception {
 public:
  explicit Exception(std::string msg) : FMessage(std::move(msg)) {}
  const std::string& Message() const { return FMessage; }
  void SetMessage(std::string msg) { FMessage = std::move(msg); }
  const char* what() const noexcept override { return FMessage.c_str(); }
  virtual const char* ClassName() const noexcept { return "Exception"; }

 private:
  std::string FMessage;
};

#define KV_EXCEPTION(Name, Base)                                      \
  class Name : public Base {                                          \
   public:                                                            \
    using Base::Base;                                                 \
    const char* ClassName() const noexcept override { return #Name; } \
  }

// Silent exception: unwinds without a message box.
KV_EXCEPTION(EAbort, Exception);
KV_EXCEPTION(EConvertError, Exception);
KV_EXCEPTION(EOutOfMemory, Exception);
KV_EXCEPTION(EInOutError, Exception);
KV_EXCEPTION(EInvalidCast, Exception);
KV_EXCEPTION(EInvalidPointer, Exception);
KV_EXCEPTION(EIntError, Exception);
KV_EXCEPTION(ERangeError, EIntError);

[[noreturn]] void Abort();

// --- Format: Delphi's format specifiers %[index:][-][width][.prec]type, types d u x s f g e n m p.
class TFormatArg {
 public:
  enum Kind { kInt, kFloat, kStr, kPtr };
  TFormatArg(int v) : FKind(kInt), FInt(v) {}
  TFormatArg(long v) : FKind(kInt), FInt(v) {}
  TFormatArg(long long v) : FKind(kInt), FInt(v) {}
  TFormatArg(unsigned v) : FKind(kInt), FInt(v) {}
  TFormatArg(unsigned long v) : FKind(kInt), FInt(static_cast<int64_t>(v)) {}
  TFormatArg(unsigned long long v) : FKind(kInt), FInt(static_cast<int64_t>(v)) {}
  TFormatArg(double v) : FKind(kFloat), FFloat(v) {}
  TFormatArg(long double v) : FKind(kFloat), FFloat(static_cast<double>(v)) {}
  TFormatArg(const char* v) : FKind(kStr), FStr(v ? v : "") {}
  TFormatArg(std::string_view v) : FKind(kStr), FStr(v) {}
  TFormatArg(const std::string& v) : FKind(kStr), FStr(v) {}
  TFormatArg(const void* v) : FKind(kPtr), FInt(reinterpret_cast<intptr_t>(v)) {}
  Kind FKind;
  int64_t FInt = 0;
  double FFloat = 0;
  std::string FStr;
};

std::string FormatArgs(std::string_view fmt, const std::vector<TFormatArg>& args);
template <class... A>
std::string Format(std::string_view fmt, const A&... args) {
  return FormatArgs(fmt, std::vector<TFormatArg>{TFormatArg(args)...});
}

// --- Strings. UpperCase/LowerCase/CompareText act on ASCII letters only, as Delphi's do.
std::string UpperCase(std::string_view s);
std::string LowerCase(std::string_view s);
int CompareText(std::string_view a, std::string_view b);
int CompareStr(std::string_view a, std::string_view b);
bool SameText(std::string_view a, std::string_view b);
std::string Trim(std::string_view s);
std::string TrimLeft(std::string_view s);
std::string TrimRight(std::string_view s);
std::string QuotedStr(std::string_view s);
bool IsValidIdent(std::string_view s);
bool StartsText(std::string_view prefix, std::string_view s);
std::string StringReplaceAll(std::string_view s, std::string_view from, std::string_view to);

// --- Numbers.
std::string IntToStr(int64_t v);
std::string IntToHex(int64_t v, int digits);
// Accepts what Delphi's Val accepts: optional blanks and sign, decimal or $hex / 0x hex.
bool TryStrToInt(std::string_view s, int& v);
bool TryStrToInt64(std::string_view s, int64_t& v);
int StrToInt(std::string_view s);        // EConvertError SInvalidInteger
int64_t StrToInt64(std::string_view s);  // EConvertError SInvalidInteger
int StrToIntDef(std::string_view s, int def);
std::string FloatToStr(long double v);  // 15 significant digits, Delphi's general format
bool TryStrToFloat(std::string_view s, long double& v);
long double StrToFloat(std::string_view s);  // EConvertError SInvalidFloat

// --- File names (both '/' and '\' separate folders; a drive colon ends the folder part).
std::string ExtractFileName(std::string_view path);
std::string ExtractFilePath(std::string_view path);
std::string ExtractFileExt(std::string_view path);
std::string ChangeFileExt(std::string_view path, std::string_view ext);
bool FileExists(const std::string& path);
bool DeleteFile(const std::string& path);
bool ForceDirectories(const std::string& path);  // creates every missing folder of the path
// Where the user's applications keep their data: $XDG_DATA_HOME, else ~/.local/share.
std::string GetUserDataDir();

// An exclusive advisory lock on a file (created if missing), held while the object lives and
// released by the system when the process ends however it ends: how a session tells whether
// the one that wrote some files is still running.
class TFileLock {
 public:
  // Nil when another process holds the lock or the file cannot be created.
  static std::unique_ptr<TFileLock> TryAcquire(const std::string& path);
  ~TFileLock();
  TFileLock(const TFileLock&) = delete;
  TFileLock& operator=(const TFileLock&) = delete;

 private:
  explicit TFileLock(int handle) : FHandle(handle) {}
  int FHandle;
};

// --- Text encodings. Strings in memory are UTF-8; 8-bit strings of form files are in an ANSI
// code page. Supported pages: 1250, 1251, 1252 (default), 1253, 1254, 1257, 28591 (Latin-1).
// Every byte maps to one character and back, so 8-bit text survives a round trip.
void SetAnsiCodePage(int codePage);  // EConvertError for an unsupported page
int GetAnsiCodePage();
std::string AnsiToUtf8(std::string_view ansi);
// False when some character has no byte in the code page; `out` is then incomplete.
bool TryUtf8ToAnsi(std::string_view utf8, std::string& out);
bool IsValidUtf8(std::string_view s);
// Malformed UTF-8 sequences decode as U+FFFD.
std::u16string Utf8ToUtf16(std::string_view s);
std::string Utf16ToUtf8(std::u16string_view s);
std::u32string Utf8ToUtf32(std::string_view s);
void AppendUtf8(std::string& out, char32_t c);
