#include "GuiModule.h"

#include <dlfcn.h>
#include <unistd.h>

#include <climits>
#include <string>

namespace {

std::string ProgramFolder() {
  char path[PATH_MAX];
  const ssize_t n = readlink("/proc/self/exe", path, sizeof path);
  if (n <= 0 || n == static_cast<ssize_t>(sizeof path)) return ".";
  const std::string program(path, static_cast<size_t>(n));
  return program.substr(0, program.rfind('/'));
}

}  // namespace

TCommandHandler LoadGuiCommand(const char* symbol) {
  const std::string file = ProgramFolder() + "/" KVFORM_GUI_MODULE;
  void* module = dlopen(file.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (!module) throw std::runtime_error(std::string("cannot load the forms module: ") + dlerror());
  auto* handler = reinterpret_cast<TCommandHandler>(dlsym(module, symbol));
  if (!handler) throw std::runtime_error(std::string("the forms module lacks ") + symbol);
  return handler;
}
