#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Runs a command on a virtual X display of its own and returns the command's exit status.

Usage: virtual_display.py [--screen WxHxD] COMMAND [ARG...]

The X server picks a free display number itself and tells it once it accepts connections
(-displayfd), so two runs never guess the same number, and a command never starts before its
display is there. At the end the server is stopped and waited for, so the next run does not meet
a server that is still going away. If the server ends while the command runs, that is said, with
the server's own words."""
import os
import signal
import subprocess
import sys
import tempfile

READY_WITHIN = 30.0


class Stopped(Exception):
    pass


def on_signal(number, _frame):
    raise Stopped(number)


def read_display(fd):
    """The number the server writes once it listens; empty if it ended first."""
    text = b""
    with os.fdopen(fd, "rb", buffering=0) as pipe:
        while not text.endswith(b"\n"):
            chunk = pipe.read(16)
            if not chunk:
                break
            text += chunk
    return text.decode().strip()


def start_server(screen, log):
    """The server and its display number; the number is empty if it did not start."""
    read_end, write_end = os.pipe()
    server = subprocess.Popen(["Xvfb", "-displayfd", str(write_end), "-screen", "0", screen, "-nolisten", "tcp",
                               "-noreset"], pass_fds=[write_end], stdin=subprocess.DEVNULL, stdout=log, stderr=log)
    os.close(write_end)
    # A server that hangs before it listens must not hang the test run.
    timer = signal.signal(signal.SIGALRM, on_signal)
    signal.setitimer(signal.ITIMER_REAL, READY_WITHIN)
    try:
        number = read_display(read_end)
    except Stopped as stopped:
        if stopped.args[0] != signal.SIGALRM:
            stop(server)
            raise
        number = ""
    finally:
        signal.setitimer(signal.ITIMER_REAL, 0)
        signal.signal(signal.SIGALRM, timer)
    return server, number


def server_said(log):
    log.seek(0)
    return log.read().decode(errors="replace").strip()


def stop(process):
    if process.poll() is None:
        process.terminate()
        try:
            process.wait(timeout=10)
        except subprocess.TimeoutExpired:
            process.kill()
            process.wait()


def main(argv):
    screen = "1280x1024x24"
    if len(argv) > 2 and argv[1] == "--screen":
        screen, argv = argv[2], argv[2:]
    if len(argv) < 2:
        sys.exit(__doc__)
    for number in (signal.SIGTERM, signal.SIGINT, signal.SIGHUP):
        signal.signal(number, on_signal)
    with tempfile.TemporaryFile() as log:
        try:
            server, number = start_server(screen, log)
        except Stopped as stopped:
            return 128 + stopped.args[0]
        command = None
        try:
            if not number:
                stop(server)
                print("the virtual X server did not start:", server_said(log), file=sys.stderr)
                return 1
            command = subprocess.Popen(argv[1:], env=dict(os.environ, DISPLAY=":" + number))
            status = command.wait()
            if status < 0:  # ended by a signal: said as a shell says it
                status = 128 - status
            if server.poll() is not None:
                print(f"the virtual X server :{number} ended while the command ran (status {server.returncode}):",
                      server_said(log), file=sys.stderr)
                return status or 1
            return status
        except Stopped as stopped:
            if command is not None and command.poll() is None:
                command.send_signal(stopped.args[0])
                command.wait()
            return 128 + stopped.args[0]
        finally:
            stop(server)


if __name__ == "__main__":
    sys.exit(main(sys.argv))
