// The application prepares the controls, runs the dialog and ends with it.
#include "app/zelk_app.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "app/testing/scripted_host.h"

namespace zelk {
namespace {

TEST(ZelkApp, RunsTheDialogOnceAndEndsWhenItCloses) {
  namespace fs = std::filesystem;
  fs::path dir = fs::path(::testing::TempDir()) / "zelk_app_run";
  fs::remove_all(dir);
  fs::create_directories(dir);
  ScriptedHost host;
  host.program = (dir / "zelk2html").string();
  host.while_open = [](ScriptedHost& h) {
    h.click(kIdPortrait);
    h.click(kIdDone);
  };
  EXPECT_EQ(CzelkApp().run(host), 0);
  ASSERT_GE(host.calls.size(), 2u);
  EXPECT_EQ(host.calls[0], "init_common_controls");
  EXPECT_EQ(host.calls[1], "run_main_dialog");
  EXPECT_EQ(host.dialog_result, kIdDone);
  EXPECT_TRUE(fs::is_empty(dir));
  fs::remove_all(dir);
}

}  // namespace
}  // namespace zelk
