#!/usr/bin/python3
"""Lists Korvelan's accessible tree as the AT-SPI bus shows it to a screen
reader, then reads a species line and a recording button the way Orca gets
them (name, role, states, value, actions).

Run it in the same session D-Bus as the program, with the accessibility bus
up and the program started with QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1, e.g.

    dbus-run-session -- sh -c '/usr/libexec/at-spi-bus-launcher --launch-immediately &
        QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 ./korvelan & sleep 5; tools/atspi_tree.py'

Needs Debian's python3-pyatspi (and at-spi2-core for the bus).
"""

import argparse
import re
import sys

import pyatspi

STATES = [
    ("focused", pyatspi.STATE_FOCUSED),
    ("selected", pyatspi.STATE_SELECTED),
    ("expandable", pyatspi.STATE_EXPANDABLE),
    ("expanded", pyatspi.STATE_EXPANDED),
    ("collapsed", pyatspi.STATE_COLLAPSED),
    ("pressed", pyatspi.STATE_PRESSED),
    ("checked", pyatspi.STATE_CHECKED),
]


def states_of(acc):
    s = acc.getState()
    return [name for name, state in STATES if s.contains(state)]


def value_of(acc):
    try:
        v = acc.queryValue()
        return "%g of %g" % (v.currentValue, v.maximumValue)
    except NotImplementedError:
        return None


def actions_of(acc):
    try:
        a = acc.queryAction()
        return [a.getName(i) for i in range(a.nActions)]
    except NotImplementedError:
        return []


def line(acc, depth):
    parts = ["  " * depth + "[%s]" % acc.getRoleName(), repr(acc.name)]
    if acc.description:
        parts.append("(%s)" % acc.description)
    st = states_of(acc)
    if st:
        parts.append("{%s}" % ", ".join(st))
    value = value_of(acc)
    if value is not None:
        parts.append("value=" + value)
    return " ".join(parts)


def walk(acc, depth, limit, out):
    out.append((acc, depth))
    if depth >= limit:
        return
    for i in range(acc.childCount):
        child = acc.getChildAtIndex(i)
        if child is not None:
            walk(child, depth + 1, limit, out)


def find_application(name):
    desktop = pyatspi.Registry.getDesktop(0)
    for i in range(desktop.childCount):
        app = desktop.getChildAtIndex(i)
        if app is not None and name.lower() in (app.name or "").lower():
            return app
    return None


def orca_reading(acc):
    """What Orca says on reaching the object: name, role, states, value."""
    words = [acc.name, acc.getRoleName()]
    st = acc.getState()
    if st.contains(pyatspi.STATE_EXPANDABLE):
        words.append("expanded" if st.contains(pyatspi.STATE_EXPANDED) else "collapsed")
    if acc.getRole() in (pyatspi.ROLE_TOGGLE_BUTTON, pyatspi.ROLE_PUSH_BUTTON):
        words.append("pressed" if st.contains(pyatspi.STATE_PRESSED) or st.contains(pyatspi.STATE_CHECKED)
                     else "not pressed")
    if acc.description:
        words.append(acc.description)
    value = value_of(acc)
    if value is not None:
        words.append(value + " seconds")
    return ", ".join(w for w in words if w)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--application", default="",
                        help="part of the application's name, the edition's title "
                             "(default: the first application on the bus)")
    parser.add_argument("--depth", type=int, default=14)
    args = parser.parse_args()

    app = find_application(args.application)
    if app is None:
        desktop = pyatspi.Registry.getDesktop(0)
        names = [desktop.getChildAtIndex(i).name for i in range(desktop.childCount)]
        sys.exit("no application named like %r on the bus (there are: %s)" % (args.application, names))

    nodes = []
    walk(app, 0, args.depth, nodes)
    for acc, depth in nodes:
        print(line(acc, depth))
    print("-- %d accessible objects" % len(nodes))

    # Qt hands a tree's items to the bus as table cells of the tree.
    items = (pyatspi.ROLE_TREE_ITEM, pyatspi.ROLE_TABLE_CELL)
    species = next((a for a, _ in nodes if a.getRole() in items
                    and a.parent.getRole() == pyatspi.ROLE_TREE
                    and re.match(r"\d+\. ", a.name or "")
                    and a.childCount == 0  # a recording's row holds its button
                    and a.getState().contains(pyatspi.STATE_EXPANDABLE)), None)
    button = next((a for a, _ in nodes if (a.name or "").startswith("Recording ")), None)
    print()
    print("Species line: " + (orca_reading(species) if species else "none shown"))
    if button:
        print("Recording button: " + orca_reading(button))
        print("  actions: " + ", ".join(actions_of(button)))
    else:
        print("Recording button: none shown (unfold a species first)")


if __name__ == "__main__":
    main()
