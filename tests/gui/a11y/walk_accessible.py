#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""What a screen reader finds in the window: starts the application on a realistic state (and once
on an empty home, for the set-up's prompt), goes through every tab, the settings' pages and
prompts, and lists each focusable control that has no name. Fails when there is one.

Usage: walk_accessible.py QUORVEL MAKE_DEMO_STATE  (inside a D-Bus session on an X display)."""
import os
import subprocess
import sys
import tempfile
import time

import gi

gi.require_version("Atspi", "2.0")
from gi.repository import Atspi  # noqa: E402

# Type names leaking through instead of words a person would say.
TYPE_NAMES = ("gtkmm__", "Gtk", "Adw", "Shumate")
# What a person operates; containers that take focus only to pass it on (lists, scroll panes,
# the chart carousel) are not controls.
CONTROLS = {"push button", "toggle button", "check box", "radio button", "list item", "page tab", "text",
            "password text", "entry", "spin button", "slider", "combo box", "link", "menu item", "switch",
            "check menu item", "radio menu item"}


def environment(home):
    env = dict(os.environ)
    for key in ("GTK_A11Y", "NO_AT_BRIDGE"):
        env.pop(key, None)
    env.update(HOME=home, XDG_DATA_HOME=home + "/data", XDG_CONFIG_HOME=home + "/config",
               XDG_STATE_HOME=home + "/state", XDG_CACHE_HOME=home + "/cache",
               QUORVEL_COUNTERS=home + "/counters", QUORVEL_BOOT_ID_FILE=home + "/boot_id",
               QUORVEL_IDIOM=os.environ.get("QUORVEL_IDIOM", "phone"),
               DBUS_SYSTEM_BUS_ADDRESS="unix:path=" + home + "/no-system-bus")
    with open(home + "/counters", "w") as f:
        f.write("wwan0 1000 1000\n")
    return env


def settle(seconds=0.6):
    """Lets the application draw and the bus carry its changes (the bound of a wait, not a timing)."""
    end = time.monotonic() + seconds
    while time.monotonic() < end:
        time.sleep(0.05)


def start_atspi():
    """Joins the accessibility bus. A reply may be slow on a loaded machine: seconds, not the
    library's fraction of one, before a call counts as unanswered."""
    Atspi.init()
    Atspi.set_timeout(20000, 60000)


def find_app(process, wait=90.0):
    # Generous: on a loaded machine a window's first start can take tens of seconds. A program
    # that has ended is said at once, not waited for.
    end = time.monotonic() + wait
    while time.monotonic() < end:
        if process.poll() is not None:
            try:  # bounded: a child it left behind may still hold the pipe
                said = (process.communicate(timeout=5)[1] or "").strip()
            except subprocess.TimeoutExpired:
                said = ""
            raise SystemExit(f"the application ended (exit status {process.returncode}) before it showed up"
                             + (f": {said}" if said else ""))
        desktop = Atspi.get_desktop(0)
        for i in range(desktop.get_child_count()):
            app = desktop.get_child_at_index(i)
            if app is not None and app.get_process_id() == process.pid and app.get_child_count() > 0:
                return app
        time.sleep(0.2)
    raise SystemExit("the application never showed up on the accessibility bus")


def states(acc):
    return acc.get_state_set()


def walk(acc, path=(), index=0):
    """Every object on screen below `acc`, with the path of roles (and places) leading to it."""
    if acc is None or len(path) > 60:
        return
    s = states(acc)
    # The toolkit marks what is on screen VISIBLE (SHOWING is not given below the window).
    if path and not s.contains(Atspi.StateType.VISIBLE):
        return
    here = path + ("%s '%s' #%d" % (acc.get_role_name(), acc.get_name() or "", index),)
    yield acc, here
    for i in range(acc.get_child_count()):
        yield from walk(acc.get_child_at_index(i), here, i)


def is_control(acc):
    return states(acc).contains(Atspi.StateType.FOCUSABLE) and acc.get_role_name() in CONTROLS


def unnamed(app, where, report, counts):
    """Reports each unnamed control once, however many pages show it."""
    seen = counts["seen"]
    for acc, path in walk(app):
        if not is_control(acc):
            continue
        key = " > ".join(path)
        if key in seen:
            continue
        seen[key] = True
        name = (acc.get_name() or "").strip()
        if not name or name.startswith(TYPE_NAMES):
            counts["unnamed"] += 1
            report.append("%s: %s" % (where, " > ".join(path[-4:])))


def find(app, role, name_start):
    for acc, _ in walk(app):
        if acc.get_role_name() == role and (acc.get_name() or "").startswith(name_start):
            return acc
    return None


def activate(acc):
    if acc.get_n_actions() == 0:
        return False
    acc.do_action(0)
    settle()
    return True


def press(keysym):
    Atspi.generate_keyboard_event(keysym, None, Atspi.KeySynthType.SYM)
    settle()


RETURN, ESCAPE = 0xFF0D, 0xFF1B


def open_row(app, name_start):
    """Clicks a settings row where the bus says it is (the toolkit offers rows no action)."""
    row = find(app, "list item", name_start)
    if row is None:
        return False
    box = row.get_extents(Atspi.CoordType.SCREEN)
    if box.width <= 0 or box.height <= 0:
        return False
    Atspi.generate_mouse_event(box.x + box.width // 2, box.y + box.height // 2, "b1c")
    settle(2.0)  # the page slides in, the prompt fades in
    return True


def check_figures(app, report):
    """The gauge, the chart pages and the pins say their figures."""
    for acc, path in walk(app):
        name = acc.get_name() or ""
        described = bool((acc.get_description() or "").strip())
        if name in ("Total Traffic", "Traffic Usage") or name.endswith("Data Used"):
            if not described:
                report.append("no figures in the description of " + " > ".join(path[-2:]))


def check_prompt(app, title, report):
    dialog = next((acc for acc, _ in walk(app) if acc.get_role_name() not in CONTROLS and acc.get_role_name() != "label"
                   and (acc.get_name() or "") == title), None)
    if dialog is None:
        report.append("prompt %r: its title is not in the accessibility tree" % title)
        return
    if not (dialog.get_description() or "").strip():
        report.append("prompt %r: its question is not in the accessibility tree" % title)
    fields = [acc for acc, _ in walk(dialog) if acc.get_role_name() in ("text", "entry", "password text")]
    if not fields or not all((f.get_name() or "").strip() for f in fields):
        report.append("prompt %r: its text field has no name" % title)


def stop(process):
    """Ends the application and returns what it wrote to standard error."""
    process.terminate()
    try:
        _, err = process.communicate(timeout=10)
    except subprocess.TimeoutExpired:
        process.kill()
        _, err = process.communicate()
    return err or ""


def run_once(program, home, pages, report, counts):
    process = subprocess.Popen([program], env=environment(home), stdout=subprocess.DEVNULL,
                               stderr=subprocess.PIPE, text=True)
    err = ""
    try:
        app = find_app(process)
        settle(2.0)
        for page in pages:
            page(app, report, counts)
    finally:
        err = stop(process)
    if "Theme parser error" in err:
        report.append("theme parser error: " + err.strip().splitlines()[0])


def visit(app, where, report, counts):
    before = len(counts["seen"])
    unnamed(app, where, report, counts)
    counts["pages"].append("%s (%d controls)" % (where, len(counts["seen"]) - before))


def every_page(app, report, counts):
    tabs = [acc for acc, _ in walk(app) if acc.get_role_name() == "page tab"]
    counts["tabs"] = [t.get_name() for t in tabs]
    for tab in tabs:
        activate(tab)
        visit(app, "tab " + (tab.get_name() or "?"), report, counts)
        check_figures(app, report)
    # The settings' sub-pages and prompt, opened from the keyboard and left with Escape.
    for row, prompt in (("Plan Period", None), ("Data Packs", None), ("Data Plan", "Monthly Data Plan"),
                        ("Plan Start Day", "Data Plan Start Date")):
        if not open_row(app, row):
            report.append("no settings row %r to open" % row)
            continue
        visit(app, "settings > " + row, report, counts)
        if prompt:
            check_prompt(app, prompt, report)
        press(ESCAPE)


def set_up_prompt(app, report, counts):
    visit(app, "set-up prompt", report, counts)
    check_prompt(app, "Monthly Data Plan", report)


def main():
    program, demo = sys.argv[1], sys.argv[2]
    start_atspi()
    report = []
    counts = {"seen": {}, "pages": [], "unnamed": 0}
    with tempfile.TemporaryDirectory() as home:
        env = environment(home)
        subprocess.run([demo], env=env, check=True, stdout=subprocess.DEVNULL)
        run_once(program, home, [every_page], report, counts)
    with tempfile.TemporaryDirectory() as home:
        run_once(program, home, [set_up_prompt], report, counts)
    print("tabs: %s" % counts.get("tabs"))
    print("pages: %s" % ", ".join(counts["pages"]))
    print("focusable controls: %d, without a name: %d" % (len(counts["seen"]), counts["unnamed"]))
    for line in report:
        print(line)
    return 1 if report else 0


if __name__ == "__main__":
    sys.exit(main())
