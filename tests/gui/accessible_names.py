#!/usr/bin/python3
# What a screen reader hears of the running dialog over AT-SPI:
# each control's role, name and label (a radio button's: its group).
import pyatspi as at

B, C, R = "push button", "check box", "radio button"
G, L = "Print Format", "Harvex ZELK Listing"
EXPECTED = [(B, "Input", None), ("combo box", "Band", "Band"),
            ("text", "LL Field", "LL Field"), (R, "Portrait", G),
            (R, "Landscape", G), (R, '17" x 11"', G),
            *[(C, name, None) for name in ("Color", "Bold",
              "Needed/worked", "S = *", "C = S = *", "FFMA")],
            *[(B, n, None) for n in ("Generate", "View", "Help", "Done")],
            ("scroll pane", L, None), ("list box", L, None)]

def heard(o):  # the controls, and all that takes focus
    if o.getRoleName() in {e[0] for e in EXPECTED} or \
            o.getState().contains(at.STATE_FOCUSABLE):
        by = [r.getTarget(0).name for r in o.getRelationSet()
              if r.getRelationType() == at.RELATION_LABELLED_BY]
        yield o.getRoleName(), o.name, (by or [None])[0]
    for child in o:
        yield from heard(child)

got = [h for app in filter(None, at.Registry.getDesktop(0))
       for w in filter(None, app)
       if w.name == "ZELK to HTML Version 3.3" for h in heard(w)]
assert got == EXPECTED, [f"{g}, not {e}" for g, e
                         in zip(got, EXPECTED) if g != e] or got
