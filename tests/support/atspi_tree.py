#!/usr/bin/env python3
"""Prints what a screen reader learns of one program through AT-SPI: every object of its
accessibility tree, one line each, "role<TAB>name<TAB>focused" (focused: 1 or 0).

Usage: atspi_tree.py APPLICATION-NAME. Exit code 1 while no such program is on the bus.
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


def main():
    desktop = Atspi.get_desktop(0)
    for index in range(desktop.get_child_count()):
        application = desktop.get_child_at_index(index)
        if application is not None and application.get_name() == sys.argv[1]:
            lines = []
            walk(application, lines)
            print("\n".join(lines))
            return 0
    return 1


if __name__ == "__main__":
    sys.exit(main())
