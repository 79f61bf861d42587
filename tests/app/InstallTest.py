#!/usr/bin/env python3
"""What `make install` puts on a machine, installed from the build folder into temporary folders.

    InstallTest.py BUILD_DIR PROGRAM APPLICATION_HEADER

A staged install (DESTDIR) must hold the launcher, the program, a valid desktop entry and the
icon sizes, all naming the final prefix; an install into a real prefix must start from the
desktop entry's Exec by name through PATH with its web view, and give the window the class the
entry names. The second part needs the test display (scripts/run-tests.sh)."""

import configparser
import filecmp
import os
import re
import shlex
import shutil
import signal
import struct
import subprocess
import sys
import tempfile
import time
import unittest

BUILD_DIR, PROGRAM, APPLICATION_HEADER = sys.argv[1:4]
APP_ID = "com.quentaro.Remote"
ICON_SIZES = (48, 128, 256)


def install(prefix, destdir=None):
    env = dict(os.environ)
    env.pop("DESTDIR", None)
    if destdir is not None:
        env["DESTDIR"] = destdir
    subprocess.run(["cmake", "--install", BUILD_DIR, "--prefix", prefix], env=env, check=True,
                   stdout=subprocess.DEVNULL)


def read_entry(path):
    parser = configparser.RawConfigParser(delimiters=("=",), interpolation=None)
    parser.optionxform = str  # keys are case-sensitive
    parser.read(path, encoding="utf-8")
    return parser["Desktop Entry"]


def png_size(path):
    with open(path, "rb") as f:
        head = f.read(24)
    if head[:8] != b"\x89PNG\r\n\x1a\n" or head[12:16] != b"IHDR":
        return None
    return struct.unpack(">II", head[16:24])


def launcher_target(path):
    """The program a launcher script runs: the quoted path after its `exec`."""
    with open(path, encoding="utf-8") as f:
        match = re.search(r'^exec "([^"]+)"', f.read(), re.MULTILINE)
    return match.group(1) if match else None


def window_class_name():
    """The window class the program gives its windows: its application name."""
    with open(APPLICATION_HEADER, encoding="utf-8") as f:
        return re.search(r'getApplicationName\(\) override \{ return "([^"]+)"', f.read()).group(1)


def wait_for(condition, seconds):
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        result = condition()
        if result:
            return result
        time.sleep(0.1)
    return condition()


def children_of(pid):
    found = []
    for entry in os.listdir("/proc"):
        if not entry.isdigit():
            continue
        try:
            with open(f"/proc/{entry}/stat", encoding="utf-8") as f:
                parent = int(f.read().rsplit(")", 1)[1].split()[1])
            with open(f"/proc/{entry}/cmdline", "rb") as f:
                arguments = f.read().split(b"\0")
        except (OSError, IndexError, ValueError):
            continue
        if parent == pid:
            found.append([a.decode(errors="replace") for a in arguments if a])
    return found


class StagedInstall(unittest.TestCase):
    """An install staged under DESTDIR for a prefix other than the configured default."""

    prefix = "/opt/quentaro-install-test"

    @classmethod
    def setUpClass(cls):
        cls.scratch = tempfile.mkdtemp()
        cls.destdir = os.path.join(cls.scratch, "stage")
        install(cls.prefix, cls.destdir)
        cls.root = cls.destdir + cls.prefix
        cls.entry_path = os.path.join(cls.root, "share/applications", APP_ID + ".desktop")

    @classmethod
    def tearDownClass(cls):
        shutil.rmtree(cls.scratch)

    def staged(self, path):
        return self.destdir + path

    def test_everything_lands_under_destdir_and_prefix(self):
        expected = {
            "bin/quentaro-remote",
            "libexec/quentaro-remote/quentaro-remote",
            f"share/applications/{APP_ID}.desktop",
            f"share/icons/hicolor/scalable/apps/{APP_ID}.svg",
        } | {f"share/icons/hicolor/{n}x{n}/apps/{APP_ID}.png" for n in ICON_SIZES}

        installed = set()
        for folder, _, files in os.walk(self.destdir):
            for name in files:
                installed.add(os.path.relpath(os.path.join(folder, name), self.root))

        self.assertEqual(installed, expected)

    def test_desktop_entry_validates(self):
        result = subprocess.run(["desktop-file-validate", self.entry_path], capture_output=True, text=True)
        self.assertEqual(result.returncode, 0, result.stdout + result.stderr)
        self.assertEqual(result.stdout.strip(), "", "hints or warnings")

    def test_desktop_entry_keys(self):
        entry = read_entry(self.entry_path)
        self.assertEqual(entry["Type"], "Application")
        self.assertEqual(entry["Name"], "QUENTARO Remote")
        self.assertEqual(entry["Terminal"], "false")
        self.assertEqual(entry["Categories"].split(";")[:2], ["AudioVideo", "Audio"])
        self.assertEqual(entry["StartupWMClass"], window_class_name())

    def test_exec_names_the_final_prefix_and_reaches_the_built_program(self):
        command = shlex.split(read_entry(self.entry_path)["Exec"])
        self.assertEqual(command, [self.prefix + "/bin/quentaro-remote"])

        launcher = self.staged(command[0])
        self.assertTrue(os.access(launcher, os.X_OK))

        program = launcher_target(launcher)
        self.assertEqual(program, self.prefix + "/libexec/quentaro-remote/quentaro-remote")
        self.assertTrue(os.access(self.staged(program), os.X_OK))
        self.assertTrue(filecmp.cmp(self.staged(program), PROGRAM, shallow=False))

    def test_icon_exists_in_every_size(self):
        icon = read_entry(self.entry_path)["Icon"]
        self.assertEqual(icon, APP_ID)  # a theme name, looked up in hicolor

        hicolor = os.path.join(self.root, "share/icons/hicolor")
        for n in ICON_SIZES:
            with self.subTest(size=n):
                self.assertEqual(png_size(os.path.join(hicolor, f"{n}x{n}/apps/{icon}.png")), (n, n))

        with open(os.path.join(hicolor, f"scalable/apps/{icon}.svg"), encoding="utf-8") as f:
            self.assertIn("<svg", f.read())


@unittest.skipUnless(os.environ.get("DISPLAY"), "needs the test display")
class InstalledProgramStarts(unittest.TestCase):
    """The installed program, started the way a desktop or a shell starts it."""

    def test_started_by_name_through_path_it_runs_its_web_view_under_the_entry_window_class(self):
        scratch = tempfile.mkdtemp()
        self.addCleanup(shutil.rmtree, scratch)
        prefix = os.path.join(scratch, "prefix")
        install(prefix)

        entry = read_entry(os.path.join(prefix, "share/applications", APP_ID + ".desktop"))
        command = [os.path.basename(shlex.split(entry["Exec"])[0])]
        env = dict(os.environ, PATH=os.path.join(prefix, "bin") + os.pathsep + os.environ.get("PATH", ""))

        program = subprocess.Popen(command, cwd=scratch, env=env, stdout=subprocess.DEVNULL,
                                   stderr=subprocess.DEVNULL)

        def stop():
            if program.poll() is None:
                program.send_signal(signal.SIGTERM)
                try:
                    program.wait(timeout=20)
                except subprocess.TimeoutExpired:
                    program.kill()
                    program.wait()

        self.addCleanup(stop)

        # The launcher exec's the program, so the process keeps its id. Started by a bare name,
        # the program itself would fail to re-execute itself for the web view and end.
        def web_child():
            return any("--juce-gtkwebkitfork-child" in arguments for arguments in children_of(program.pid))

        wait_for(lambda: program.poll() is not None or web_child(), 30)
        self.assertIsNone(program.poll(), "the program ended")
        self.assertTrue(web_child(), "no web view process")

        def window():
            found = subprocess.run(["xdotool", "search", "--onlyvisible", "--pid", str(program.pid)],
                                   capture_output=True, text=True).stdout.split()
            return found[0] if found else None

        window_id = wait_for(window, 30)
        self.assertIsNotNone(window_id, "no window")

        wm_class = subprocess.run(["xprop", "-id", window_id, "WM_CLASS"], capture_output=True, text=True,
                                  check=True).stdout
        self.assertEqual(re.findall(r'"([^"]*)"', wm_class)[-1], entry["StartupWMClass"])


if __name__ == "__main__":
    unittest.main(argv=sys.argv[:1] + sys.argv[4:], verbosity=2)
