// zelk2html: the dialog on Linux.
#include <gtk/gtk.h>

#include <cstdio>

#include "app/gtk/gtk_host.h"
#include "app/zelk_app.h"

int main(int argc, char** argv) {
  if (!gtk_init_check(&argc, &argv)) {
    std::fprintf(stderr, "zelk2html: cannot open the display\n");
    return 1;
  }
  zelk::GtkHost host;
  return zelk::CzelkApp().run(host);
}
