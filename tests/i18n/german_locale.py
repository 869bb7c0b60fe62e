#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""The programs in German (LANG=de_DE.UTF-8), as a German user runs them: the command line's
plain texts are German while `export` and `status --json` stay byte for byte what they are in
English; the window's texts are German (read through the accessibility bus) and its style sheets
load without a parser error.

Usage: german_locale.py QUORVELCTL MAKE_DEMO_STATE [QUORVEL]  (the window part inside a D-Bus
session on an X display)."""
import datetime
import json
import os
import re
import subprocess
import sys
import tempfile
import zoneinfo

GERMAN = "de_DE.UTF-8"
ENGLISH_MONTHS = [None, "January", "February", "March", "April", "May", "June", "July", "August", "September",
                  "October", "November", "December"]
GERMAN_MONTHS = [None, "Januar", "Februar", "März", "April", "Mai", "Juni", "Juli", "August", "September", "Oktober",
                 "November", "Dezember"]
failures = []


def check(condition, what):
    if not condition:
        failures.append(what)


def environment(home, lang):
    env = {k: v for k, v in os.environ.items() if not k.startswith("LC_") and k not in ("LANG", "LANGUAGE")}
    env.update(LANG=lang, HOME=home, XDG_DATA_HOME=home + "/data", XDG_CONFIG_HOME=home + "/config",
               XDG_STATE_HOME=home + "/state", XDG_CACHE_HOME=home + "/cache", TZ="Europe/Berlin",
               QUORVEL_COUNTERS=home + "/counters", QUORVEL_BOOT_ID_FILE=home + "/boot_id",
               QUORVEL_IDIOM="phone", DBUS_SYSTEM_BUS_ADDRESS="unix:path=" + home + "/no-system-bus")
    return env


def run(argv, env):
    r = subprocess.run(argv, env=env, capture_output=True, text=True, timeout=60)
    return r.returncode, r.stdout, r.stderr


def command_line(ctl, home):
    english, german = environment(home, "C.UTF-8"), environment(home, GERMAN)
    for args in (["export", "--json"], ["status", "--json"], ["export"]):
        c_out, g_out = run([ctl] + args, english), run([ctl] + args, german)
        check(c_out[0] == 0 and g_out[0] == 0, "%s: exit %d/%d %s" % (args, c_out[0], g_out[0], g_out[2]))
        check(c_out[1] == g_out[1], "%s is not byte-identical in German" % " ".join(args))
    # The plain status, the one line and the status bar's text and tooltip speak German, with
    # the date from the locale and the sizes' decimal point; the bar's class and share do not change.
    # The demo state's days run up to today, its billing months from the 15th.
    today = datetime.datetime.now(zoneinfo.ZoneInfo("Europe/Berlin")).date()
    next_month = (today.replace(day=1) + datetime.timedelta(days=31)).replace(day=1)
    end = (today if today.day < 15 else next_month).replace(day=14)
    code, c_status, _ = run([ctl, "status"], english)
    used = re.search(r"^Data used {9}(\S+ \S+) ", c_status, re.M)
    check(used is not None and "%s %d: " % (ENGLISH_MONTHS[today.month], today.day) in c_status,
          "status in English changed: " + c_status)
    code, out, err = run([ctl, "status"], german)
    check(code == 0, "status: " + err)
    for text in ("Datenvolumen ", "Verbraucht ", "Vergangene Tage ", "%d. %s:" % (today.day, GERMAN_MONTHS[today.month]),
                 "14. %s %d" % (GERMAN_MONTHS[end.month], end.year), used.group(1) if used else "?"):
        check(text in out, "status is not German (%r missing): %s" % (text, out))
    check("Data used" not in out and "%s %d:" % (ENGLISH_MONTHS[today.month], today.day) not in out,
          "status still shows English: " + out)
    code, out, _ = run([ctl, "status", "--oneline"], german)
    check(" von 2 GB (" in out and " Tage" in out, "the one line is not German: " + out)
    c_bar = json.loads(run([ctl, "status", "--waybar"], english)[1])
    g_bar = json.loads(run([ctl, "status", "--waybar"], german)[1])
    check(g_bar["text"].endswith(" von 2 GB") and "Verbraucht: " in g_bar["tooltip"],
          "the status bar is not German: %r" % g_bar)
    check(c_bar["text"].endswith(" of 2 GB") and "Data used: " in c_bar["tooltip"], "the English bar changed: %r" % c_bar)
    check((g_bar["class"], g_bar["percentage"]) == (c_bar["class"], c_bar["percentage"]),
          "the bar's class or share differ in German")

    code, out, err = run([ctl, "limits"], german)
    check(code == 0, "limits: " + err)
    check("Monatslimit bei 90% des Tarifs: 1.8 GB" in out, "limits is not German, or a size lost its point: " + out)
    code, out, _ = run([ctl, "limits"], english)
    check("Monthly limit at 90% of the plan: 1.8 GB" in out, "limits in English changed: " + out)


def messages(ctl, home):
    """The command line's other texts: refusals, listings and confirmations in German, their
    columns aligned by characters, the English ones as they were."""
    english, german = environment(home, "C.UTF-8"), environment(home, GERMAN)
    code, _, err = run([ctl, "set", "plan", "viel"], german)
    check(code == 1 and "ungültiger Tarif: „viel“ ist keine einfache Zahl von Megabyte" in err,
          "a refused plan is not German: " + err)
    code, _, err = run([ctl, "set", "plan", "viel"], english)
    check("invalid plan: 'viel' is not a plain number of megabytes" in err, "a refused plan in English changed: " + err)
    code, _, err = run([ctl, "status", "--bunt"], german)
    check(code == 2 and "unbekannte Option „--bunt“ für status" in err and "Aufruf:" in err,
          "a usage error is not German: " + err[:200])
    code, out, _ = run([ctl, "limits"], german)
    check("Tageslimit ein, Monatslimit ein" in out, "the alert switches are not German: " + out)
    code, out, err = run([ctl, "plan"], german)
    rows = [line for line in out.splitlines() if line.split(":")[0] in ("Tarif", "Zeitraum", "Kontingent", "Übertrag", "Freistunden")]
    check(code == 0 and len(rows) == 5, "plan is not German: " + out + err)
    # The values start in one column, counted in characters ("Übertrag" has an umlaut).
    starts = {len(line) - len(line.split(":", 1)[1].lstrip()) for line in rows}
    check(len(starts) == 1, "the plan's values are not aligned in German: " + out)
    check(" Tage)" in out and "monatlich, ab Tag " in out, "the plan's period is not German: " + out)
    code, out, _ = run([ctl, "interfaces"], german)
    check(out.startswith("SCHNITTSTELLE   GEZÄHLT  GRUND") and "wwan0" in out, "interfaces is not German: " + out)
    code, out, _ = run([ctl, "interfaces"], english)
    check(out.startswith("INTERFACE       COUNTED  REASON          RECEIVED             SENT"), "interfaces in English changed: " + out)
    code, _, err = run([ctl, "--sim", "niemand", "status"], german)
    check(code == 1 and "keine SIM ist als „niemand“ bekannt" in err, "an unknown SIM is not German: " + err)


def help_texts(ctl, home):
    """--help and a command's help in German: the texts are translated, the synopses and option
    names are not, and no line is wider than a terminal in any of the catalogues' languages."""
    english, german = environment(home, "C.UTF-8"), environment(home, GERMAN)
    commands = ["setup", "status", "sample", "set", "plan", "addon", "sims", "reset", "limits",
                "interfaces", "watch", "chart", "export", "import", "help"]

    def fixed_parts(text):
        # The synopses (without the "usage:" word) and the option names, as the user types them.
        parts = []
        for line in text.splitlines():
            words = line.split()
            if line.startswith("  --"):
                parts.append(words[0])
            elif "quorvelctl" in words:
                parts.append(" ".join(words[words.index("quorvelctl"):]))
            elif line.startswith("  ") and not line.startswith("        ") and words[0] in commands:
                parts.append(line.strip())
        return parts

    c_help, g_help = run([ctl, "--help"], english)[1], run([ctl, "--help"], german)[1]
    for text in ("Aufruf: quorvelctl [--sim ID] COMMAND [OPTIONS]\n        quorvelctl help", "Rückgabewerte: 0 ",
                 "Abrechnungsmonat", "„quorvelctl COMMAND --help“"):
        check(text in g_help, "--help is not German (%r missing): %s" % (text, g_help[:300]))
    check("Exit codes:" not in g_help and "billing month" not in g_help, "--help still shows English")
    check(fixed_parts(c_help) == fixed_parts(g_help), "the synopses differ in German")
    check(c_help.startswith("usage: quorvelctl [--sim ID] COMMAND [OPTIONS]\n")
          and "Exit codes: 0 done, 1 a value was refused, 2 usage error, 3 Quorvel is not set up yet" in " ".join(c_help.split())
          and "Aufruf" not in c_help, "--help in English changed: " + c_help[:300])

    c_plan, g_plan = run([ctl, "plan", "--help"], english)[1], run([ctl, "plan", "--help"], german)[1]
    for text in ("Aufruf: quorvelctl plan [--json]\n", "\nOptionen:\n", "Übertrag", "Zeitraum"):
        check(text in g_plan, "plan --help is not German (%r missing): %s" % (text, g_plan[:300]))
    check(fixed_parts(c_plan) == fixed_parts(g_plan) and "--free-hours" in fixed_parts(g_plan),
          "the synopsis or the options of plan differ in German")
    code, _, err = run([ctl, "help", "frobnicate"], german)
    check(code == 2 and err.startswith("quorvelctl: unbekannter Befehl „frobnicate“\nAufruf: "),
          "an unknown topic is not answered in German: " + err[:100])

    for language in ("C", "de", "fr", "es", "it", "pt_BR"):
        env = dict(german, LANGUAGE=language) if language != "C" else english
        for args in [["--help"]] + [[c, "--help"] for c in commands]:
            code, out, _ = run([ctl] + args, env)
            wide = [line for line in out.splitlines() if len(line) > 79]
            check(code == 0 and not wide, "%s %s: lines over 79 columns: %r" % (language, " ".join(args), wide))
            if args == ["--help"]:
                # an exit code and its text are not parted at a line's end
                parted = [line for line in out.splitlines() if line.split() and line.split()[-1].isdigit()]
                check(not parted, "%s --help: an exit code ends a line: %r" % (language, parted))
            if language not in ("C", "de"):
                check("Options:" not in out and "usage:" not in out,
                      "%s %s is still English" % (language, " ".join(args)))


def window(app, home):
    code, out, err = run([app, "--help"], environment(home, GERMAN))
    check(code == 0 and out.startswith("Aufruf: quorvel"), "quorvel --help is not German: " + out[:80])
    sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "gui", "a11y"))
    import walk_accessible as walk
    walk.start_atspi()
    env = walk.environment(home)
    env.update(LANG=GERMAN)
    for key in [k for k in env if k.startswith("LC_") or k == "LANGUAGE"]:
        del env[key]
    process = subprocess.Popen([app], env=env, stdout=subprocess.DEVNULL, stderr=subprocess.PIPE, text=True)
    err = ""
    try:
        shown = walk.find_app(process)
        walk.settle(2.0)
        names = {acc.get_name() for acc, _ in walk.walk(shown)}
        # The settings' rows are there once their tab was opened.
        settings = walk.find(shown, "page tab", "Einstellungen")
        check(settings is not None and walk.activate(settings), "the settings tab cannot be opened")
        names |= {acc.get_name() for acc, _ in walk.walk(shown)}
        for german in ("Daten", "Diagramm", "Orte", "Einstellungen", "HEUTE", "Tageslimit", "Monatslimit"):
            check(german in names, "the window shows no %r" % german)
        for english in ("Settings", "TODAY", "Daily Limit"):
            check(english not in names, "the German window still shows %r" % english)
    finally:
        err = walk.stop(process)
    check("Theme parser error" not in err, "a style sheet did not load in German: " + err)


def main():
    ctl, demo = sys.argv[1], sys.argv[2]
    app = sys.argv[3] if len(sys.argv) > 3 else None
    probe = subprocess.run(["locale", "-a"], capture_output=True, text=True).stdout.lower().split()
    if "de_de.utf8" not in probe:
        print("the German locale is missing: tools/dev bootstrap makes it")
        return 1
    with tempfile.TemporaryDirectory() as home:
        with open(home + "/counters", "w") as f:
            f.write("wwan0 1000 1000\n")
        subprocess.run([demo], env=environment(home, "C.UTF-8"), check=True, stdout=subprocess.DEVNULL)
        command_line(ctl, home)
        messages(ctl, home)
        help_texts(ctl, home)
        if app:
            window(app, home)
    for f in failures:
        print(f)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
