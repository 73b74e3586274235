// The application prepares the controls, runs the dialog and ends with it.
#include "app/zelk_app.h"

#include <gtest/gtest.h>

#include "../scratch_folder.h"
#include "app/testing/scripted_host.h"

namespace zelk {
namespace {

TEST(ZelkApp, RunsTheDialogOnceAndEndsWhenItCloses) {
  test::ScratchFolder folder;
  ScriptedHost host;
  host.program = folder / "zelk2html";
  host.while_open = [](ScriptedHost& h) {
    h.click(kIdPortrait);
    h.click(kIdDone);
  };
  EXPECT_EQ(CzelkApp().run(host), 0);
  ASSERT_GE(host.calls.size(), 2u);
  EXPECT_EQ(host.calls[0] + " " + host.calls[1], "init_common_controls run_main_dialog");
  EXPECT_EQ(host.dialog_result, kIdDone);
  EXPECT_TRUE(folder.names().empty());
}

}  // namespace
}  // namespace zelk
