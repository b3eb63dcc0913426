"""What a screen reader sees of one Kalimo window, read over AT-SPI: every control a person can
use (shown, enabled, and focusable or of a kind that takes input) must be reached by pressing Tab
and must have a name. Tab is pressed with xdotool in the window that has the focus.

Usage: atspiwalk.py WINDOW_TITLE
Prints the controls found and exits 1 with the faults when there are any. The focus ends where it
was."""

import subprocess
import sys
import time

import dbus
import dbus.mainloop.glib
from gi.repository import GLib

ACCESSIBLE = "org.a11y.atspi.Accessible"
PROPERTIES = "org.freedesktop.DBus.Properties"

# AT-SPI state numbers.
ENABLED, EDITABLE, FOCUSABLE, FOCUSED, SENSITIVE, SHOWING, VISIBLE = 8, 7, 11, 12, 24, 25, 30

# Kinds of control that take the person's input whatever their focus policy says.
INPUT_ROLES = {
    "push button", "toggle button", "check box", "radio button", "combo box", "spin button",
    "slider", "table", "tree", "tree table", "list", "list box", "page tab list", "link",
    "password text", "entry",
}
# Controls whose parts (cells, items, tabs, inner edit) are reached through the control itself.
WHOLE = INPUT_ROLES | {"text", "scroll bar"}


class Node:
    def __init__(self, bus, name, path):
        self.bus, self.name, self.path = bus, name, str(path)
        self.obj = bus.get_object(name, path, introspect=False)

    def call(self, method, *args):
        return self.obj.get_dbus_method(method, ACCESSIBLE)(*args)

    def prop(self, what):
        return self.obj.Get(ACCESSIBLE, what, dbus_interface=PROPERTIES)

    def children(self):
        return [Node(self.bus, n, p) for n, p in self.call("GetChildren")]

    def states(self):
        words = self.call("GetState")
        return {k for k in range(64) if words[k // 32] & (1 << (k % 32))}

    def role(self):
        return str(self.call("GetRoleName"))

    def label(self):
        return str(self.prop("Name")).strip()

    def describe(self):
        desc = str(self.prop("Description")).strip()
        return "%s « %s »%s" % (self.role(), self.label(), " (%s)" % desc if desc else "")


def a11y_bus():
    address = dbus.SessionBus().get_object("org.a11y.Bus", "/org/a11y/bus").GetAddress(
        dbus_interface="org.a11y.Bus")
    return dbus.bus.BusConnection(str(address))


def find_window(bus, title):
    for _ in range(100):
        root = Node(bus, "org.a11y.atspi.Registry", "/org/a11y/atspi/accessible/root")
        for app in root.children():
            try:
                if app.label().lower() != "kalimo":
                    continue
                for window in app.children():
                    if window.label() == title and SHOWING in window.states():
                        return window
            except dbus.DBusException:
                continue
        time.sleep(0.1)
    sys.exit("ÉCHEC : la fenêtre « %s » n'apparaît pas dans l'arbre AT-SPI" % title)


def walk(node, found):
    """Adds the controls under node, in the tree's order, each with its states; returns whether
    there was any. A focusable node holding controls (a page frame) is only their container."""
    any_found = False
    for child in node.children():
        states = child.states()
        if SHOWING not in states or VISIBLE not in states:
            continue
        role = child.role()
        usable = ENABLED in states and SENSITIVE in states
        # Labels may take a click to select their text; a link is a "link".
        takes_input = role in INPUT_ROLES or (FOCUSABLE in states and role not in ("label", "scroll bar"))
        here = len(found)
        inner = role not in WHOLE and walk(child, found)
        if usable and takes_input and (role in INPUT_ROLES or not inner):
            found.insert(here, (child, states))
            inner = True
        any_found = any_found or inner
    return any_found


def focused(window):
    controls = []
    walk(window, controls)
    return {node.path for node, states in controls if FOCUSED in states}


class FocusEvents:
    """The objects that took the focus, as the program announces them: a control that hands its
    focus on at once (the weight grid to its cell editor) shows no focused state when read
    afterwards, and its cell editor is no child in the tree."""

    def __init__(self, bus):
        self.bus, self.seen = bus, []
        bus.add_signal_receiver(self.changed, signal_name="StateChanged",
                                dbus_interface="org.a11y.atspi.Event.Object",
                                path_keyword="path", sender_keyword="sender")
        registry = bus.get_object("org.a11y.atspi.Registry", "/org/a11y/atspi/registry",
                                  introspect=False)
        registry.RegisterEvent("object:state-changed:focused",
                               dbus_interface="org.a11y.atspi.Registry")
        self.pump(0.3)

    def changed(self, kind, gained, _detail2, _data, _props, path=None, sender=None):
        if str(kind) == "focused" and gained == 1:
            self.seen.append(Node(self.bus, sender, path))

    def pump(self, seconds):
        context, end = GLib.MainContext.default(), time.time() + seconds
        while time.time() < end:
            while context.iteration(False):
                pass
            time.sleep(0.02)

    def controls_reached(self, paths):
        """The controls among paths that took the focus, themselves or through a part of theirs."""
        found = set()
        for node in self.seen:
            for _ in range(8):
                if node.path in paths:
                    found.add(node.path)
                    break
                try:
                    name, path = node.prop("Parent")
                except dbus.DBusException:
                    break
                node = Node(self.bus, name, path)
        self.seen.clear()
        return found


def main():
    title = sys.argv[1]
    dbus.mainloop.glib.DBusGMainLoop(set_as_default=True)
    bus = a11y_bus()
    window = find_window(bus, title)
    controls = []
    walk(window, controls)
    paths = {node.path for node, _ in controls}
    events = FocusEvents(bus)
    start = focused(window)
    reached = set(start)

    def tab():
        subprocess.run(["xdotool", "key", "Tab"], check=True)
        events.pump(0.15)
        now = focused(window)
        reached.update(now, events.controls_reached(paths))
        return now

    for _ in range(len(controls) + 1):
        tab()
    # Round again to the control that had the focus, so the script goes on from there.
    for _ in range(len(controls) + 1):
        if tab() == start:
            break
    faults = []
    for node, _ in controls:
        line = node.describe()
        print("  %s : %s" % (title, line))
        if node.path not in reached:
            faults.append("jamais atteint par Tab : " + line)
        if not node.label():
            faults.append("sans nom : " + line)
    if faults:
        print("ÉCHEC dans « %s » :\n  %s" % (title, "\n  ".join(faults)), file=sys.stderr)
        sys.exit(1)
    print("%s : %d contrôles, tous atteints par Tab et nommés" % (title, len(controls)))


if __name__ == "__main__":
    main()
