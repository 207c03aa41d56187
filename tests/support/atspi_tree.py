#!/usr/bin/env python3
"""Prints what a screen reader learns of one program through AT-SPI: every object of its
accessibility tree, one line each, "role<TAB>name<TAB>focused" (focused: 1 or 0). With --press,
does instead what a screen reader's "press" does to the push button of that name. With
--listen, prints instead what a screen reader is told of the program from then on, until
ended: "listening" once the listener is registered, then one line per event as it comes,
"event<TAB>detail<TAB>role<TAB>name" (event as AT-SPI names it, "focus:" or
"object:state-changed:focused"; detail its first detail, 1 or 0 for a state).

Usage: atspi_tree.py APPLICATION-NAME [--press BUTTON-NAME | --listen]. Exit code 1 while no
such program is on the bus, or no such button.
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


# What moves a screen reader's attention: the focus, selections, and the names it speaks.
HEARD_EVENTS = ("focus:", "object:state-changed:focused", "object:state-changed:selected",
                "object:selection-changed", "object:active-descendant-changed",
                "object:property-change:accessible-name")


def listen(application):
    def heard(event):
        try:
            source = event.source
            if source.get_application().get_name() != application:
                return
            print("%s\t%d\t%s\t%s" % (event.type, event.detail1, source.get_role_name(),
                                       source.get_name() or ""), flush=True)
        except GLib.Error:
            pass  # gone before we asked

    listener = Atspi.EventListener.new(heard)
    for kind in HEARD_EVENTS:
        listener.register(kind)
    print("listening", flush=True)
    Atspi.event_main()
    return 0


def main():
    if len(sys.argv) == 3 and sys.argv[2] == "--listen":
        return listen(sys.argv[1])
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
