#!/usr/bin/python3
# What a screen reader hears of the running dialog
# over AT-SPI: each control's role, name and label
# (a radio button's: its group's).
import time
import pyatspi as at

B, C, R = "push button", "check box", "radio button"
G, L = "Print Format", "Harvex ZELK Listing"
EXPECTED = [
    (B, "Input", None), ("combo box", "Band", "Band"),
    ("text", "LL Field", "LL Field"), (R, "Portrait", G),
    (R, "Landscape", G), (R, '17" x 11"', G),
    (C, "Color", None), (C, "Bold", None),
    (C, "Needed/worked", None), (C, "S = *", None),
    (C, "C = S = *", None), (C, "FFMA", None),
    (B, "Generate", None), (B, "View", None),
    (B, "Help", None), (B, "Done", None),
    ("scroll pane", L, None), ("list box", L, None)]
ROLES = {role for role, _, _ in EXPECTED}


def heard(o):  # the controls, and all that takes focus
    if (o.getRoleName() in ROLES or
            o.getState().contains(at.STATE_FOCUSABLE)):
        by = [r.getTarget(0).name for r in o.getRelationSet()
              if r.getRelationType() == at.RELATION_LABELLED_BY]
        yield o.getRoleName(), o.name, (by or [None])[0]
    for child in o:
        yield from heard(child)


got = []
for _ in range(50):  # until the bridge has told the bus
    for app in filter(None, at.Registry.getDesktop(0)):
        for window in filter(None, app):
            if window.name == "ZELK to HTML Version 3.3":
                got = list(heard(window))
    if got:
        break
    time.sleep(0.2)
assert got == EXPECTED, [f"{g}, not {e}" for g, e
                         in zip(got, EXPECTED) if g != e] or got
