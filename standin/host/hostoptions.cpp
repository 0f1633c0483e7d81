#include "hostoptions.h"

#include <cerrno>
#include <cstdlib>
#include <filesystem>

namespace rasqethost {
namespace {

bool ParseInt(const std::string& text, long long low, long long high, long long& value) {
  char* end = nullptr;
  errno = 0;
  value = std::strtoll(text.c_str(), &end, 10);
  return !text.empty() && *end == '\0' && errno == 0 && value >= low && value <= high;
}

bool ParseClipboard(const std::string& text, HostOptions& options) {
  if (text == "none") {
    options.clipboardStored = false;
    return true;
  }
  size_t x = text.find('x');
  long long w, h;
  if (x == std::string::npos || !ParseInt(text.substr(0, x), 1, 100000, w) ||
      !ParseInt(text.substr(x + 1), 1, 100000, h)) {
    return false;
  }
  options.clipboardWidth = static_cast<int>(w);
  options.clipboardHeight = static_cast<int>(h);
  return true;
}

}  // namespace

const char* HostUsage() {
  return "usage: rasqet-host [options]\n"
         "A stand-in CAD host: loads the Rasqet module and runs a session of commands read\n"
         "from a script or typed in.\n"
         "  --module PATH         the module (default: librasqet.so next to rasqet-host,\n"
         "                        else the one of the build)\n"
         "  --drawing FILE.dxf    an ASCII DXF drawing instead of the built-in sample\n"
         "  --script FILE         session lines from FILE instead of standard input\n"
         "  --registry FILE       the registry file (default:\n"
         "                        $XDG_CONFIG_HOME/rasqet-host/registry.reg)\n"
         "  --resources FILE      the module's resource script (default: rasqet.rc next to\n"
         "                        the module, else the one in the source tree)\n"
         "  --clipboard WxH|none  the host's clipboard size (default 1024x768); none: the\n"
         "                        host's registry holds no clipboard settings\n"
         "  --no-sysvar-entry     offer no \"_GetSysVAdr@4\"\n"
         "  --no-palette-entry    offer no \"_GetPalAdr@0\"\n"
         "  --background INDEX    the drawing's background colour index (default 15, white)\n"
         "  --max-bitmap-pixels N GDI makes no bitmap of more than N pixels\n"
         "  --strict              exit with status 3 if any warning was given\n"
         "  --help                this text\n"
         "Exit status: 0 done, 1 could not start, 2 bad command line or script line,\n"
         "3 warnings with --strict.\n";
}

bool ParseHostOptions(int argc, char** argv, HostOptions& options, bool& help, std::string& error) {
  help = false;
  for (int i = 1; i < argc; ++i) {
    std::string arg = argv[i];
    auto value = [&](std::string& out) {
      if (i + 1 >= argc) {
        error = arg + " needs a value";
        return false;
      }
      out = argv[++i];
      return true;
    };
    std::string text;
    long long number;
    if (arg == "--help" || arg == "-h") {
      help = true;
    } else if (arg == "--module") {
      if (!value(options.modulePath)) return false;
    } else if (arg == "--drawing") {
      if (!value(options.drawingPath)) return false;
    } else if (arg == "--script") {
      if (!value(options.scriptPath)) return false;
    } else if (arg == "--registry") {
      if (!value(options.registryPath)) return false;
    } else if (arg == "--resources") {
      if (!value(options.resourcesPath)) return false;
    } else if (arg == "--clipboard") {
      if (!value(text)) return false;
      if (!ParseClipboard(text, options)) {
        error = "--clipboard takes WIDTHxHEIGHT or none, not " + text;
        return false;
      }
    } else if (arg == "--no-sysvar-entry") {
      options.sysvarEntry = false;
    } else if (arg == "--no-palette-entry") {
      options.paletteEntry = false;
    } else if (arg == "--strict") {
      options.strict = true;
    } else if (arg == "--background") {
      if (!value(text)) return false;
      if (!ParseInt(text, 0, 255, number)) {
        error = "--background takes a colour index 0 to 255";
        return false;
      }
      options.background = static_cast<int>(number);
    } else if (arg == "--max-bitmap-pixels") {
      if (!value(text)) return false;
      if (!ParseInt(text, 1, 1LL << 40, number)) {
        error = "--max-bitmap-pixels takes a positive number";
        return false;
      }
      options.bitmapPixelLimit = number;
    } else {
      error = "unknown option " + arg;
      return false;
    }
  }
  return true;
}

void ResolveDefaultPaths(HostOptions& options) {
  namespace fs = std::filesystem;
  std::error_code ignored;
  fs::path self = fs::read_symlink("/proc/self/exe", ignored);
  if (options.modulePath.empty()) {
    fs::path beside = self.parent_path() / "librasqet.so";
#ifdef RASQET_MODULE_BUILD_PATH
    options.modulePath = fs::exists(beside, ignored) ? beside.string() : RASQET_MODULE_BUILD_PATH;
#else
    options.modulePath = beside.string();
#endif
  }
  if (options.resourcesPath.empty()) {
    fs::path beside = fs::path(options.modulePath).parent_path() / "rasqet.rc";
#ifdef RASQET_RESOURCE_SCRIPT
    options.resourcesPath = fs::exists(beside, ignored) ? beside.string() : RASQET_RESOURCE_SCRIPT;
#else
    options.resourcesPath = beside.string();
#endif
  }
  if (options.registryPath.empty()) options.registryPath = Registry::DefaultPath();
}

}  // namespace rasqethost
