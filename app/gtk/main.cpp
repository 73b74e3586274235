// zelk2html: the dialog on Linux.
#include <gtk/gtk.h>

#include <cstdio>

#include "app/command_line.h"
#include "app/gtk/gtk_host.h"
#include "app/zelk_app.h"

int main(int argc, char** argv) {
  // GTK takes its own options (--display ...) without opening a display, so
  // that --help and --version work where there is none.
  gtk_parse_args(&argc, &argv);
  zelk::DialogCommandLine command = zelk::read_command_line({argv + 1, argv + argc});
  if (command.exit_status) {
    std::fputs(command.text.c_str(), *command.exit_status == 0 ? stdout : stderr);
    return *command.exit_status;
  }
  if (!gtk_init_check(&argc, &argv)) {
    std::fprintf(stderr, "zelk2html: cannot open the display\n");
    return 1;
  }
  // The desktop's name for the program; it also titles GTK's own hidden
  // windows (drops pass through one), which the program's name would not.
  g_set_application_name("ZELK to HTML");
  zelk::GtkHost host;
  return zelk::CzelkApp().run(host, command.listing);
}
