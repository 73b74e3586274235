// Portable or installed, told by the program's path and the data around it.
#include "conversion/program_folders.h"

#include <gtest/gtest.h>

#include "test_helpers.h"

namespace zelk {
namespace {

TEST(ProgramFolders, InstalledOnlyInBinBesideItsSharedData) {
#ifdef _WIN32
  GTEST_SKIP() << "Linux paths; tests/wine/run.sh installs on Windows";
#endif
  test::ScratchFolder scratch;
  const std::string root = scratch.path();
  // A whole install under usr/; opt/ without its help page.
  for (const char* file : {"usr/share/zelk2html/images/EM.gif", "usr/share/zelk2html/ZELK/index.html",
                           "opt/share/zelk2html/images/EM.gif"})
    test::write_file(root + "/" + file, "");
  const UserFolders user{"/conf", "/docs"};
  const struct {
    std::string program;
    bool user_folders;
    std::string expected;  // data|pages|settings file
  } cases[] = {
      {"/usr/bin/zelk2html", true, "/usr/share/zelk2html/|/docs/zelk2html/|/conf/zelk2html/zelk2html.ini"},
      {"/usr/bin/z-3.3", true, "/usr/share/zelk2html/|/docs/zelk2html/|/conf/zelk2html/z-3.3.ini"},
      {"/usr/bin/zelk2html", false, "/usr/bin/|/usr/bin/|/usr/bin/zelk2html.ini"},
      {"/usr/zelk2html", true, "/usr/|/usr/|/usr/zelk2html.ini"},
      {"/opt/bin/zelk2html", true, "/opt/bin/|/opt/bin/|/opt/bin/zelk2html.ini"},
      {"", true, "||.ini"},
  };
  for (const auto& c : cases) {
    const std::string program = c.program.empty() ? "" : root + c.program;
    ProgramFolders folders = program_folders(program, c.user_folders ? std::optional(user) : std::nullopt);
    std::string shown = folders.data + "|" + folders.pages + "|" + folders.settings_file;
    for (std::size_t at; (at = shown.find(root)) != std::string::npos;) shown.erase(at, root.size());
    EXPECT_EQ(shown, c.expected) << c.program;
  }
}

}  // namespace
}  // namespace zelk
