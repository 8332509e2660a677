#include "SysUtils.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "Consts.h"

void Abort() { throw EAbort("Operation aborted"); }

// ---------------------------------------------------------------------------------------------
// Format

namespace {

std::string FormatOne(const TFormatArg& a, char type, int prec) {
  char buf[128];
  switch (type) {
    case 'd':
      if (a.FKind != TFormatArg::kInt) throw EConvertError("Format '%d' invalid or incompatible with argument");
      {
        std::string s = std::to_string(a.FInt < 0 ? -a.FInt : a.FInt);
        if (prec > 0 && static_cast<int>(s.size()) < prec) s.insert(0, prec - s.size(), '0');
        return a.FInt < 0 ? "-" + s : s;
      }
    case 'u': return std::to_string(static_cast<uint32_t>(a.FInt));
    case 'x': {
      std::snprintf(buf, sizeof buf, "%llX", static_cast<unsigned long long>(a.FInt));
      std::string s = buf;
      if (prec > 0 && static_cast<int>(s.size()) < prec) s.insert(0, prec - s.size(), '0');
      return s;
    }
    case 'p': std::snprintf(buf, sizeof buf, "%016llX", static_cast<unsigned long long>(a.FInt)); return buf;
    case 's':
      if (a.FKind == TFormatArg::kStr) return prec >= 0 ? a.FStr.substr(0, prec) : a.FStr;
      if (a.FKind == TFormatArg::kInt) return std::to_string(a.FInt);
      return FloatToStr(a.FFloat);
    case 'f':
    case 'e':
    case 'g':
    case 'n':
    case 'm': {
      double v = a.FKind == TFormatArg::kFloat ? a.FFloat : static_cast<double>(a.FInt);
      if (type == 'g') return FloatToStr(v);
      if (prec < 0) prec = 2;
      char f = type == 'e' ? 'E' : 'f';
      char spec[16];
      std::snprintf(spec, sizeof spec, "%%.%d%c", prec, f);
      std::snprintf(buf, sizeof buf, spec, v);
      std::string s = buf;
      if (type == 'n' || type == 'm') {  // thousands separators
        size_t dot = s.find('.');
        size_t end = dot == std::string::npos ? s.size() : dot;
        size_t start = (s[0] == '-') ? 1 : 0;
        for (long i = static_cast<long>(end) - 3; i > static_cast<long>(start); i -= 3) s.insert(i, ",");
      }
      return s;
    }
    default: throw EConvertError(std::string("Format '%") + type + "' invalid or incompatible with argument");
  }
}

}  // namespace

std::string FormatArgs(std::string_view fmt, const std::vector<TFormatArg>& args) {
  std::string out;
  size_t next = 0;
  for (size_t i = 0; i < fmt.size(); ++i) {
    char c = fmt[i];
    if (c != '%') {
      out += c;
      continue;
    }
    if (++i >= fmt.size()) break;
    if (fmt[i] == '%') {
      out += '%';
      continue;
    }
    // [index:][-][width][.prec]type
    size_t j = i;
    int num = -1;
    auto readNum = [&]() {
      if (j < fmt.size() && fmt[j] == '*') {
        ++j;
        return next < args.size() ? static_cast<int>(args[next++].FInt) : 0;
      }
      int n = -1;
      while (j < fmt.size() && fmt[j] >= '0' && fmt[j] <= '9') n = (n < 0 ? 0 : n * 10) + (fmt[j++] - '0');
      return n;
    };
    num = readNum();
    if (j < fmt.size() && fmt[j] == ':') {
      next = num < 0 ? 0 : num;
      ++j;
      num = -1;
    }
    bool left = false;
    if (j < fmt.size() && fmt[j] == '-') {
      left = true;
      ++j;
    }
    int width = num >= 0 ? num : readNum();
    int prec = -1;
    if (j < fmt.size() && fmt[j] == '.') {
      ++j;
      prec = readNum();
      if (prec < 0) prec = 0;
    }
    if (j >= fmt.size()) break;
    char type = static_cast<char>(std::tolower(static_cast<unsigned char>(fmt[j])));
    i = j;
    if (next >= args.size())
      throw EConvertError("Format '" + std::string(fmt) + "' invalid or incompatible with argument");
    std::string s = FormatOne(args[next++], type, prec);
    if (width > 0 && static_cast<int>(s.size()) < width) {
      if (left) s.append(width - s.size(), ' ');
      else s.insert(0, width - s.size(), ' ');
    }
    out += s;
  }
  return out;
}

// ---------------------------------------------------------------------------------------------
// Strings

namespace {
char AsciiUpper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c; }
char AsciiLower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c; }
bool IsBlank(char c) { return static_cast<unsigned char>(c) <= ' '; }
}  // namespace

std::string UpperCase(std::string_view s) {
  std::string r(s);
  for (char& c : r) c = AsciiUpper(c);
  return r;
}

std::string LowerCase(std::string_view s) {
  std::string r(s);
  for (char& c : r) c = AsciiLower(c);
  return r;
}

int CompareText(std::string_view a, std::string_view b) {
  size_t n = std::min(a.size(), b.size());
  for (size_t i = 0; i < n; ++i) {
    int d = static_cast<unsigned char>(AsciiUpper(a[i])) - static_cast<unsigned char>(AsciiUpper(b[i]));
    if (d) return d;
  }
  return static_cast<int>(a.size()) - static_cast<int>(b.size());
}

int CompareStr(std::string_view a, std::string_view b) {
  int r = a.compare(b);
  return r < 0 ? -1 : r > 0 ? 1 : 0;
}

bool SameText(std::string_view a, std::string_view b) { return a.size() == b.size() && CompareText(a, b) == 0; }

bool StartsText(std::string_view prefix, std::string_view s) {
  return s.size() >= prefix.size() && SameText(prefix, s.substr(0, prefix.size()));
}

std::string Trim(std::string_view s) { return TrimRight(TrimLeft(s)); }

std::string TrimLeft(std::string_view s) {
  size_t i = 0;
  while (i < s.size() && IsBlank(s[i])) ++i;
  return std::string(s.substr(i));
}

std::string TrimRight(std::string_view s) {
  size_t n = s.size();
  while (n > 0 && IsBlank(s[n - 1])) --n;
  return std::string(s.substr(0, n));
}

std::string QuotedStr(std::string_view s) {
  std::string r = "'";
  for (char c : s) {
    if (c == '\'') r += '\'';
    r += c;
  }
  return r + "'";
}

bool IsValidIdent(std::string_view s) {
  if (s.empty()) return false;
  auto alpha = [](char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_'; };
  if (!alpha(s[0])) return false;
  for (char c : s)
    if (!alpha(c) && !(c >= '0' && c <= '9')) return false;
  return true;
}

std::string StringReplaceAll(std::string_view s, std::string_view from, std::string_view to) {
  if (from.empty()) return std::string(s);
  std::string r;
  size_t pos = 0;
  for (size_t f; (f = s.find(from, pos)) != std::string_view::npos; pos = f + from.size()) {
    r.append(s.substr(pos, f - pos));
    r.append(to);
  }
  r.append(s.substr(pos));
  return r;
}

// ---------------------------------------------------------------------------------------------
// Numbers

std::string IntToStr(int64_t v) { return std::to_string(v); }

std::string IntToHex(int64_t v, int digits) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%0*llX", digits, static_cast<unsigned long long>(v));
  return buf;
}

bool TryStrToInt64(std::string_view s, int64_t& v) {
  size_t i = 0;
  while (i < s.size() && s[i] == ' ') ++i;
  bool neg = false;
  if (i < s.size() && (s[i] == '-' || s[i] == '+')) neg = s[i++] == '-';
  int base = 10;
  if (i < s.size() && s[i] == '$') {
    base = 16;
    ++i;
  } else if (i + 1 < s.size() && s[i] == '0' && (s[i + 1] == 'x' || s[i + 1] == 'X')) {
    base = 16;
    i += 2;
  }
  if (i >= s.size()) return false;
  uint64_t acc = 0;
  const uint64_t limit = base == 16 ? UINT64_MAX : static_cast<uint64_t>(INT64_MAX) + (neg ? 1 : 0);
  for (; i < s.size(); ++i) {
    char c = s[i];
    int d;
    if (c >= '0' && c <= '9') d = c - '0';
    else if (base == 16 && c >= 'a' && c <= 'f') d = c - 'a' + 10;
    else if (base == 16 && c >= 'A' && c <= 'F') d = c - 'A' + 10;
    else return false;
    if (acc > (limit - d) / base) return false;
    acc = acc * base + d;
  }
  v = neg ? static_cast<int64_t>(0 - acc) : static_cast<int64_t>(acc);
  return true;
}

bool TryStrToInt(std::string_view s, int& v) {
  int64_t w;
  if (!TryStrToInt64(s, w)) return false;
  bool hex = s.find('$') != std::string_view::npos || s.find("0x") != std::string_view::npos ||
             s.find("0X") != std::string_view::npos;
  if (hex && w >= 0 && w <= UINT32_MAX) w = static_cast<int32_t>(static_cast<uint32_t>(w));
  if (w < INT32_MIN || w > INT32_MAX) return false;
  v = static_cast<int>(w);
  return true;
}

int StrToInt(std::string_view s) {
  int v;
  if (!TryStrToInt(s, v)) throw EConvertError(Format(SInvalidInteger, s));
  return v;
}

int64_t StrToInt64(std::string_view s) {
  int64_t v;
  if (!TryStrToInt64(s, v)) throw EConvertError(Format(SInvalidInteger, s));
  return v;
}

int StrToIntDef(std::string_view s, int def) {
  int v;
  return TryStrToInt(s, v) ? v : def;
}

std::string FloatToStr(long double v) {
  if (std::isnan(v)) return "NAN";
  if (std::isinf(v)) return v < 0 ? "-INF" : "INF";
  if (v == 0) return "0";
  // 15 significant digits: one before the point and 14 after in scientific notation.
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.14Le", v);
  bool neg = buf[0] == '-';
  std::string m;
  const char* p = buf + (neg ? 1 : 0);
  for (; *p && *p != 'e'; ++p)
    if (*p >= '0' && *p <= '9') m += *p;
  int exp = std::atoi(p + 1);
  while (m.size() > 1 && m.back() == '0') m.pop_back();
  std::string r = neg ? "-" : "";
  int digits = static_cast<int>(m.size());
  if (exp >= 15 || exp < -5) {  // Delphi's general format switches to scientific here
    r += m[0];
    if (digits > 1) r += "." + m.substr(1);
    r += "E" + std::to_string(exp);
  } else if (exp < 0) {
    r += "0." + std::string(-exp - 1, '0') + m;
  } else if (digits <= exp + 1) {
    r += m + std::string(exp + 1 - digits, '0');
  } else {
    r += m.substr(0, exp + 1) + "." + m.substr(exp + 1);
  }
  return r;
}

bool TryStrToFloat(std::string_view s, long double& v) {
  std::string t = Trim(s);
  if (t.empty()) return false;
  for (char c : t)
    if (!((c >= '0' && c <= '9') || c == '.' || c == '-' || c == '+' || c == 'e' || c == 'E')) return false;
  char* end = nullptr;
  errno = 0;
  v = std::strtold(t.c_str(), &end);
  return end == t.c_str() + t.size() && errno != ERANGE;
}

long double StrToFloat(std::string_view s) {
  long double v;
  if (!TryStrToFloat(s, v)) throw EConvertError(Format(SInvalidFloat, s));
  return v;
}

// ---------------------------------------------------------------------------------------------
// File names

namespace {
size_t NameStart(std::string_view path) {
  size_t p = path.find_last_of("/\\:");
  return p == std::string_view::npos ? 0 : p + 1;
}
}  // namespace

std::string ExtractFileName(std::string_view path) { return std::string(path.substr(NameStart(path))); }

std::string ExtractFilePath(std::string_view path) { return std::string(path.substr(0, NameStart(path))); }

std::string ExtractFileExt(std::string_view path) {
  size_t start = NameStart(path);
  size_t dot = path.find_last_of('.');
  if (dot == std::string_view::npos || dot < start) return "";
  return std::string(path.substr(dot));
}

std::string ChangeFileExt(std::string_view path, std::string_view ext) {
  size_t start = NameStart(path);
  size_t dot = path.find_last_of('.');
  if (dot == std::string_view::npos || dot < start) dot = path.size();
  return std::string(path.substr(0, dot)) + std::string(ext);
}

bool FileExists(const std::string& path) {
  struct stat st;
  return stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool DeleteFile(const std::string& path) { return unlink(path.c_str()) == 0; }

bool ForceDirectories(const std::string& path) {
  if (path.empty()) return false;
  struct stat st;
  if (::stat(path.c_str(), &st) == 0) return S_ISDIR(st.st_mode);
  size_t slash = path.find_last_of('/', path.size() - 2);
  if (slash != std::string::npos && slash > 0 && !ForceDirectories(path.substr(0, slash))) return false;
  return ::mkdir(path.c_str(), 0777) == 0 || errno == EEXIST;
}

std::string GetUserDataDir() {
  const char* xdg = std::getenv("XDG_DATA_HOME");
  if (xdg && *xdg == '/') return xdg;
  const char* home = std::getenv("HOME");
  return std::string(home && *home ? home : "/tmp") + "/.local/share";
}

std::unique_ptr<TFileLock> TFileLock::TryAcquire(const std::string& path) {
  int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
  if (fd < 0) return nullptr;
  if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
    ::close(fd);
    return nullptr;
  }
  return std::unique_ptr<TFileLock>(new TFileLock(fd));
}

TFileLock::~TFileLock() { ::close(FHandle); }
