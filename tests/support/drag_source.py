#!/usr/bin/python3
# A file manager's side of a drag: a window at 800,700 whose button drags the files
# named (URIs as they are) as text/uri-list; exit status 1 when nothing took the drop.
import sys
import gi
gi.require_version("Gdk", "3.0")
gi.require_version("Gtk", "3.0")
from gi.repository import Gdk, GLib, Gtk

uris = [a if "://" in a else GLib.filename_to_uri(a) for a in sys.argv[1:]]
button = Gtk.Button(label="drag")
button.drag_source_set(Gdk.ModifierType.BUTTON1_MASK, [], Gdk.DragAction.COPY)
button.drag_source_add_uri_targets()
button.connect("drag-data-get", lambda w, c, data, i, t: data.set_uris(uris))
refused = []
button.connect("drag-failed", lambda *a: refused.append(a[2]))
button.connect("drag-end", Gtk.main_quit)
window = Gtk.Window(title="drag source")
window.add(button)
window.move(800, 700)
window.show_all()
Gtk.main()
sys.exit(1 if refused else 0)
