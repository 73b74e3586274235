#include "app/command_line.h"

#include <filesystem>
#include <system_error>

#include "platform/file_paths.h"
#include "zelk_version.h"

namespace zelk {

namespace {

constexpr const char* kUsage = "Usage: zelk2html [LISTING]\n";

// help2man makes the manual page from this text.
constexpr const char* kHelp =
    "Shows the ZELK to HTML dialog, which turns a worked-grid listing (CSV, as a\n"
    "logging program exports it) into a printable HTML map page of Maidenhead\n"
    "grid squares for the band chosen.\n"
    "\n"
    "  LISTING       start with this listing chosen, as Input would choose it\n"
    "  -h, --help    this text\n"
    "  --version     the program's version\n"
    "\n"
#ifdef _WIN32
    "Installed by the setup program (in bin\\, its data in share\\zelk2html\\ beside\n"
    "bin\\), the dialog keeps its settings in %APPDATA%\\zelk2html\\zelk2html.ini and\n"
    "writes its pages, with the field pictures they show, into zelk2html in the\n"
    "Documents folder. Unpacked from the zip, it keeps its settings and pages\n"
    "beside itself. zelk2html-cli writes the same pages from a command prompt.\n"
#else
    "Installed (the program in PREFIX/bin, its data in PREFIX/share/zelk2html/),\n"
    "the dialog keeps its settings in $XDG_CONFIG_HOME/zelk2html/zelk2html.ini\n"
    "(~/.config/zelk2html/ when XDG_CONFIG_HOME is not set) and writes its pages,\n"
    "with the field pictures they show, into zelk2html/ in the documents folder.\n"
    "Anywhere else (a build tree, an unpacked folder) it keeps its settings and\n"
    "pages beside itself. zelk2html-cli writes the same pages from a command line.\n"
#endif
    "\n"
    "Status letters, the first character of a grid's cell in a band column: W, L\n"
    "or M worked; C confirmed; S submitted (shown as confirmed, or as checked with\n"
    "\"S = *\"); * checked. Any other character, or an empty cell, leaves the\n"
    "square unworked.\n";

DialogCommandLine usage_error(const std::string& what) {
  return {std::nullopt, 2, "zelk2html: " + what + "\n" + kUsage};
}

}  // namespace

DialogCommandLine read_command_line(const std::vector<std::string>& args) {
  DialogCommandLine command;
  bool options_ended = false;
  for (const std::string& arg : args) {
    if (!options_ended && (arg == "-h" || arg == "--help")) return {std::nullopt, 0, std::string(kUsage) + "\n" + kHelp};
    if (!options_ended && arg == "--version") return {std::nullopt, 0, "zelk2html " ZELK_VERSION_TEXT "\n"};
    if (!options_ended && arg == "--") {
      options_ended = true;
    } else if (!options_ended && arg.size() > 1 && arg[0] == '-') {
      return usage_error("unknown option " + arg);
    } else if (command.listing) {
      return usage_error("more than one listing given");
    } else {
      std::error_code ec;
      std::filesystem::path full = std::filesystem::absolute(path_of(arg), ec);
      command.listing = ec ? arg : name_of(full.lexically_normal());
    }
  }
  return command;
}

}  // namespace zelk
