#!/usr/bin/env python3
"""Prints what a screen reader learns of one program through AT-SPI: every object of its
accessibility tree, one line each, "role<TAB>name<TAB>focused" (focused: 1 or 0). With --press,
does instead what a screen reader's "press" does to the push button of that name.

Usage: atspi_tree.py APPLICATION-NAME [--press BUTTON-NAME]. Exit code 1 while no such program
is on the bus, or no such button.
"""
import sys

import gi

gi.require_version("Atspi", "2.0")
from gi.repository import Atspi, GLib  # noqa: E402


def walk(node, lines):
    try:
        focused = node.get_state_set().contains(Atspi.StateType.FOCUSED)
        lines.append("%s\t%s\t%d" % (node.get_role_name(), node.get_name() or "", focused))
        count = node.get_child_count()
    except GLib.Error:
        return  # gone while we looked: a menu that closed
    for index in range(count):
        child = node.get_child_at_index(index)
        if child is not None:
            walk(child, lines)


def press(node, name):
    """Runs the first action of the push button named name below node; False when none."""
    if node.get_role_name() == "push button" and node.get_name() == name:
        node.get_action_iface().do_action(0)
        return True
    return any(press(node.get_child_at_index(index), name) for index in range(node.get_child_count())
               if node.get_child_at_index(index) is not None)


def main():
    desktop = Atspi.get_desktop(0)
    for index in range(desktop.get_child_count()):
        application = desktop.get_child_at_index(index)
        if application is not None and application.get_name() == sys.argv[1]:
            if len(sys.argv) == 4 and sys.argv[2] == "--press":
                return 0 if press(application, sys.argv[3]) else 1
            lines = []
            walk(application, lines)
            print("\n".join(lines))
            return 0
    return 1


if __name__ == "__main__":
    sys.exit(main())
