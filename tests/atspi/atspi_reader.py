#!/usr/bin/python3
"""Reads the wizard's pages over the accessibility bus (AT-SPI) as a screen reader does.

Starts atspi_pages (the pages from the WPA2 passphrase page on), finds its window by the page's
title, reads the roles and names of its controls, types a passphrase that is too short and
presses Next through AT-SPI, hears the status line tell the check's message, then types a good
one, presses Next, and finds the summary page's window by its title. Exits 0 when all holds,
1 with the reasons when not.

Usage: atspi_reader.py ATSPI_PAGES_PROGRAM
"""

import os
import subprocess
import sys
import time

import pyatspi
from gi.repository import GLib

problems = []


def expect(holds, what):
    if not holds:
        problems.append(what)


def walk(node):
    yield node
    for i in range(node.childCount):
        child = node.getChildAtIndex(i)
        if child is not None:
            yield from walk(child)


def find_window(app_name, title, seconds=60):
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        desktop = pyatspi.Registry.getDesktop(0)
        for i in range(desktop.childCount):
            app = desktop.getChildAtIndex(i)
            if app is None or app.name != app_name:
                continue
            for j in range(app.childCount):
                window = app.getChildAtIndex(j)
                if window is not None and window.name == title:
                    return window
        time.sleep(0.1)
    return None


def spoken_name(node):
    """The name a screen reader speaks: a drop-down list's comes from its label relation."""
    if node.getRole() == pyatspi.ROLE_COMBO_BOX:
        for relation in node.getRelationSet():
            if relation.getRelationType() == pyatspi.RELATION_LABELLED_BY:
                return relation.getTarget(0).name
        return ""
    return node.name


def control(window, role, name):
    for node in walk(window):
        if node.getRole() == role and spoken_name(node) == name:
            return node
    return None


def wait_for_name_change(label, expected, seconds=30):
    """Listens for the name-change events a screen reader hears, until `label`'s is `expected`."""
    heard = []

    def on_event(event):
        if event.source == label and event.source.name == expected:
            heard.append(event.source.name)
            pyatspi.Registry.stop()

    pyatspi.Registry.registerEventListener(on_event, "object:property-change:accessible-name")
    GLib.timeout_add(int(seconds * 1000), lambda: pyatspi.Registry.stop() or False)
    return heard, on_event


def main():
    program = sys.argv[1]
    app_name = os.path.basename(program)
    pages = subprocess.Popen([program], env=dict(os.environ, QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1"))
    try:
        window = find_window(app_name, "Enter the WPA2 passphrase")
        if window is None:
            print("the WPA2 page's window is not named by its title")
            return 1
        expect(window.description == "Enter the passphrase of the wireless network.",
               "the window's description is %r" % window.description)

        buttons = {name: control(window, pyatspi.ROLE_PUSH_BUTTON, name)
                   for name in ("Back", "Next", "Exit")}
        for name, button in buttons.items():
            expect(button is not None, "no push button named %s" % name)
        passphrase = control(window, pyatspi.ROLE_TEXT, "Passphrase")
        expect(passphrase is not None, "no text field named Passphrase")
        expect(control(window, pyatspi.ROLE_COMBO_BOX, "Security") is not None,
               "no drop-down list labelled Security")
        expect(passphrase is not None and passphrase.getState().contains(pyatspi.STATE_FOCUSED),
               "the focus is not on the passphrase")
        labels = [node for node in walk(window) if node.getRole() == pyatspi.ROLE_LABEL
                  and node.getState().contains(pyatspi.STATE_SHOWING)]
        expect(len(labels) == 1, "%d showing labels instead of the status line" % len(labels))
        if problems or passphrase is None or buttons["Next"] is None or not labels:
            return 1
        status = labels[0]

        # A passphrase too short: Next refuses it, and the status line tells why.
        message = "Passphrase at least 8 characters !"
        passphrase.queryEditableText().setTextContents("short")
        heard, listener = wait_for_name_change(status, message)
        buttons["Next"].queryAction().doAction(0)
        pyatspi.Registry.start()
        pyatspi.Registry.deregisterEventListener(listener, "object:property-change:accessible-name")
        expect(heard == [message], "the status line's message was not told (heard %r)" % heard)
        expect(status.name == message, "the status line is named %r" % status.name)

        # A good one: Next hands over, and the new window is named by its page's title.
        passphrase.queryEditableText().setTextContents("long enough")
        buttons["Next"].queryAction().doAction(0)
        expect(find_window(app_name, "Review and save") is not None,
               "the summary page's window is not named by its title")
    finally:
        pages.kill()
        pages.wait()
    for problem in problems:
        print(problem)
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
