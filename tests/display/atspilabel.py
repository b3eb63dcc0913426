"""The text of a label of one Kalimo window as a screen reader reads it, over AT-SPI: the first
label shown whose text begins with the given words. Waits up to 10 s for it.

Usage: atspilabel.py WINDOW_TITLE BEGINNING
Prints the text; exits 1 when no such label shows."""

import sys
import time

import dbus

from atspiwalk import SHOWING, a11y_bus, find_window


def labels(node):
    for child in node.children():
        if SHOWING not in child.states():
            continue
        if child.role() == "label":
            yield child.label()
        yield from labels(child)


def main():
    title, beginning = sys.argv[1], sys.argv[2]
    bus = a11y_bus()
    for _ in range(50):
        try:
            for text in labels(find_window(bus, title)):
                if text.startswith(beginning):
                    print(text)
                    return
        except dbus.DBusException:
            pass
        time.sleep(0.2)
    sys.exit("ÉCHEC : aucune étiquette « %s… » dans « %s »" % (beginning, title))


if __name__ == "__main__":
    main()
