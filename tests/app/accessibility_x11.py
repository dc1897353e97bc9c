#!/usr/bin/env python3
"""What a screen reader sees of Vexilo through AT-SPI, inside the X server and D-Bus session that
accessibility_x11.sh arranges, for a French user: the icon row's applications by name, the
selection following the keyboard, the selected application's name, the language pop-up's value
and entries. Exits 0 when all holds, 1 otherwise."""

import os
import plistlib
import subprocess
import sys
import tempfile
import time

import pyatspi

LANGUAGES = {"Alpha": ["en"], "Beta": ["fr", "ja"], "Gamma": ["fr", "ja"]}
# Gamma always opens in Japanese.
STORED = {"Gamma": "ja"}
NAMES = list(LANGUAGES)


def fail(message):
    print("accessibility: " + message, file=sys.stderr)
    sys.exit(1)


def wait_for(what, probe, timeout=15.0):
    deadline = time.monotonic() + timeout
    while not (value := probe()):
        if time.monotonic() > deadline:
            fail("timed out waiting for " + what)
        time.sleep(0.1)
    return value


def find(root, role, name):
    def matches(accessible):
        try:
            return accessible.getRole() == role and accessible.name == name
        except Exception:  # an object that went away while being looked at
            return False
    return pyatspi.findDescendant(root, matches)


def children(accessible):
    return [accessible.getChildAtIndex(i) for i in range(accessible.childCount)]


def vexilo_application():
    return next((app for app in children(pyatspi.Registry.getDesktop(0))
                 if app is not None and app.name.lower().startswith("vexilo")), None)


def selected_names(row):
    return [item.name for item in children(row)
            if item.getState().contains(pyatspi.STATE_SELECTED)]


def check(vexilo):
    application = wait_for("Vexilo on the accessibility bus", vexilo_application)
    row = wait_for("the icon row", lambda: find(application, pyatspi.ROLE_LIST, "Applications"))
    wait_for("the applications in the row", lambda: row.childCount == len(NAMES))
    items = children(row)
    if [item.name for item in items] != NAMES:
        fail("the row shows %r, expected %r" % ([item.name for item in items], NAMES))
    for i, item in enumerate(items):
        if item.getRole() != pyatspi.ROLE_LIST_ITEM or item.getIndexInParent() != i:
            fail("%s is not list item %d" % (item.name, i))
    wait_for("the first application selected", lambda: selected_names(row) == ["Alpha"])

    # The keyboard, as a user would: the window takes the X input focus, the row the keys.
    window = subprocess.run(["xdotool", "search", "--sync", "--onlyvisible", "--pid",
                             str(vexilo.pid), "--name", "Vexilo"],
                            capture_output=True, text=True, timeout=20).stdout.split()
    if not window:
        fail("Vexilo's window was not found")
    subprocess.run(["xdotool", "windowfocus", "--sync", window[0]], check=True, timeout=20)
    row.queryComponent().grabFocus()
    wait_for("the row's keyboard focus", lambda: row.getState().contains(pyatspi.STATE_FOCUSED))
    subprocess.run(["xdotool", "key", "--window", window[0], "Right"], check=True, timeout=20)
    wait_for("the selection to move to Beta", lambda: selected_names(row) == ["Beta"])
    if not row.getChildAtIndex(1).getState().contains(pyatspi.STATE_FOCUSED):
        fail("the selected application is not the row's focused item")

    name = wait_for("Beta's name", lambda: find(application, pyatspi.ROLE_LABEL, "Beta"))
    if name.description != "Application":
        fail("the name is described as %r" % name.description)
    popup = wait_for("the language pop-up",
                     lambda: find(application, pyatspi.ROLE_COMBO_BOX, "Langue"))
    wait_for("Beta's languages in the pop-up",
             lambda: popup.childCount == 1 and popup.getChildAtIndex(0).childCount == 4)
    entries = [entry.name for entry in children(popup.getChildAtIndex(0))]
    if entries != ["Toujours ouvrir dans cette langue", "", "français", "japonais"]:
        fail("the language pop-up offers %r" % entries)
    # Nothing stored: the language Beta opens in by itself for a French user.
    value = popup.queryText().getText(0, -1)
    if value != "français":
        fail("the language pop-up's value is %r" % value)

    # Stored: that language is chosen, and the always-open entry carries its mark.
    subprocess.run(["xdotool", "key", "--window", window[0], "Right"], check=True, timeout=20)
    wait_for("the selection to move to Gamma", lambda: selected_names(row) == ["Gamma"])
    wait_for("Gamma's stored language in the pop-up",
             lambda: popup.queryText().getText(0, -1) == "japonais")
    checked = [entry.name for entry in children(popup.getChildAtIndex(0))
               if entry.getState().contains(pyatspi.STATE_CHECKED)]
    if checked != ["Toujours ouvrir dans cette langue", "japonais"]:
        fail("the checked entries are %r" % checked)


def main():
    if len(sys.argv) != 2:
        fail("usage: accessibility_x11.py <Vexilo executable>")
    with tempfile.TemporaryDirectory(prefix="vexilo-a11y-") as home:
        applications = os.path.join(home, "Applications")
        for name, languages in LANGUAGES.items():
            contents = os.path.join(applications, name + ".app", "Contents")
            os.makedirs(os.path.join(contents, "MacOS"))
            for language in languages:
                os.makedirs(os.path.join(contents, "Resources", language + ".lproj"))
            with open(os.path.join(contents, "Info.plist"), "wb") as info:
                plistlib.dump({"CFBundleIdentifier": "org.example." + name,
                               "CFBundleExecutable": name}, info)
        preferences = os.path.join(home, "config", "vexilo", "Preferences")
        os.makedirs(preferences)
        for name, language in STORED.items():
            with open(os.path.join(preferences, "org.example.%s.plist" % name), "wb") as stored:
                plistlib.dump({"AppleLanguages": [language]}, stored)
        environment = dict(os.environ, VEXILO_APPLICATIONS_DIR=applications,
                           XDG_CONFIG_HOME=os.path.join(home, "config"),
                           XDG_DATA_HOME=os.path.join(home, "data"),
                           # The desktop's menu is the test's own, empty: the row holds only
                           # the bundles.
                           XDG_DATA_DIRS=os.path.join(home, "share"),
                           XDG_CACHE_HOME=os.path.join(home, "cache"),
                           QT_QPA_PLATFORM="xcb", QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1",
                           LANGUAGE="fr", LC_ALL="C.UTF-8")
        with subprocess.Popen([sys.argv[1]], env=environment, stdout=subprocess.DEVNULL,
                              stderr=subprocess.DEVNULL) as vexilo:
            try:
                check(vexilo)
            finally:
                vexilo.kill()
    print("accessibility: every application found by name, the selection followed the keyboard,"
          " the name and the pop-up's value are read, and the language entries are reachable")


if __name__ == "__main__":
    main()
