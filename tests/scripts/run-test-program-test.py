#!/usr/bin/env python3
"""The runner of the Windows test programs (scripts/run-test-program.sh) on a
screen of the test script: a program that fails with a working desktop is run
once and its failure stands, with one line saying so; a program that says it
found no desktop (exit code 75), or that fails once the holder of its desktop
has gone, is run once more, with one line saying what was seen; so is one
whose prefix's Wine server ends while it runs, which would otherwise wait for
ever; a program under test left running in the prefix by an earlier one is
ended first. Run by the test script, which keeps the prefix's desktop:
    run-test-program-test.py PREFIX"""
import os
import signal
import subprocess
import sys
import tempfile
import time
import unittest

REPO = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..")
RUNNER = os.path.join(REPO, "scripts", "run-test-program.sh")
PREFIX = sys.argv.pop(1) if len(sys.argv) > 1 else ""


def screen_prefix():
    """The prefix the runner gives the screen CTest gave this test."""
    screen = os.environ.get("CTEST_RESOURCE_GROUP_0_SCREENS", "").split(",")[0]
    screen = screen[len("id:"):] if screen.startswith("id:") else screen
    return PREFIX if screen in ("", "1") else PREFIX + "-" + screen


class RunTestProgram(unittest.TestCase):
    def setUp(self):
        if not os.path.isfile(os.path.join(screen_prefix(), ".holder-pid")):
            self.fail("no desktop holder in " + screen_prefix() + ": run this through scripts/test.sh")
        # A short folder: Wine reaches it through Z: with its whole path.
        self.folder = tempfile.TemporaryDirectory(dir="/tmp")
        self.runs = os.path.join(self.folder.name, "runs.txt")

    def tearDown(self):
        self.folder.cleanup()

    def run_failing_once(self, exit_code, while_it_runs=None):
        """The runner given a batch file of Wine's cmd.exe that notes each run
        in runs.txt and exits with the code on its first run (once the file
        ended.txt is there, when something is given to do while it runs) and
        with 0 after: the runner's exit code, its output, and the runs
        noted."""
        first_run = ["echo ran>>runs.txt", "exit %d" % exit_code]
        if while_it_runs:
            first_run[1:1] = [":wait", "if not exist ended.txt goto wait"]
        batch = os.path.join(self.folder.name, "program.bat")
        with open(batch, "w", newline="\r\n") as file:
            file.write("\n".join(["@echo off", "if exist runs.txt (echo ran>>runs.txt & exit 0)"] + first_run) + "\n")
        windows_path = "Z:" + batch.replace("/", "\\")
        runner = subprocess.Popen(["bash", RUNNER, PREFIX, "cmd", "/c", windows_path], cwd=self.folder.name,
                                  stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True)
        if while_it_runs:
            deadline = time.monotonic() + 120
            while not os.path.exists(self.runs) and time.monotonic() < deadline:
                time.sleep(0.1)
            while_it_runs()
            open(os.path.join(self.folder.name, "ended.txt"), "w").close()
        output = runner.communicate(timeout=600)[0]
        runs = 0
        if os.path.exists(self.runs):
            with open(self.runs) as file:
                runs = len(file.read().split())
        return runner.returncode, output, runs

    def assert_ran(self, result, exit_code, runs, line):
        code, output, noted = result
        self.assertEqual((code, noted), (exit_code, runs), output)
        self.assertIn("run-test-program: cmd: " + line, output)
        if runs == 1:
            self.assertNotIn("runs once more", output)
        self.assertNotIn("could not be made again", output)

    def test_a_failure_with_a_working_desktop_stands(self):
        # Run again, it would pass.
        self.assert_ran(self.run_failing_once(1), 1, 1,
                        "failed (exit code 1) with a working desktop; its failures stand and it is not run again")

    def test_a_program_that_found_no_desktop_runs_once_more(self):
        self.assert_ran(self.run_failing_once(75), 0, 2,
                        "ran without a working desktop: it had no working desktop at its start (exit code 75); "
                        "the desktop is made again and the program runs once more")

    def test_a_failure_after_the_desktop_holder_has_gone_runs_once_more(self):
        def end_the_holder():
            with open(os.path.join(screen_prefix(), ".holder-pid")) as file:
                os.kill(int(file.read()), signal.SIGKILL)

        self.assert_ran(self.run_failing_once(1, end_the_holder), 0, 2,
                        "ran without a working desktop: the holder of its desktop has gone; "
                        "the desktop is made again and the program runs once more")

    def test_a_program_whose_wine_server_ends_while_it_runs_is_ended_and_runs_once_more(self):
        # As when the server fails: its programs are left waiting for answers.
        def end_the_wine_server():
            prefix = os.stat(screen_prefix())
            folder = "server-%x-%x" % (prefix.st_dev, prefix.st_ino)
            for process in os.listdir("/proc"):
                try:
                    if process.isdigit() and os.path.basename(os.readlink("/proc/%s/cwd" % process)) == folder:
                        os.kill(int(process), signal.SIGKILL)
                except OSError:
                    pass

        code, output, runs = self.run_failing_once(0, end_the_wine_server)
        self.assertEqual((code, runs), (0, 2), output)
        self.assertIn("[ NO DESKTOP ] the Wine server of cmd's prefix ended while it ran", output)
        self.assertIn("run-test-program: cmd: ran without a working desktop: the Wine server of its prefix has gone; "
                      "the desktop is made again and the program runs once more", output)
        self.assertNotIn("could not be made again", output)

    def test_a_program_under_test_left_running_in_the_prefix_is_ended_first(self):
        # As an earlier test program stopped at its time limit leaves it; a
        # stand-in of the same name, which runs until it is ended.
        left = subprocess.Popen(["bash", "-c", "exec -a 'Z:\\build\\qnpost.exe' sleep 600"],
                                env=dict(os.environ, WINEPREFIX=screen_prefix()))
        try:
            code, output, runs = self.run_failing_once(0)
            self.assertEqual((code, runs), (0, 1), output)
            self.assertIn("run-test-program: cmd: qnpost.exe (process %d) was left running in its prefix by an "
                          "earlier program; it is ended first" % left.pid, output)
            self.assertEqual(left.wait(timeout=30), -signal.SIGKILL)
        finally:
            if left.poll() is None:
                left.kill()
                left.wait()

if __name__ == "__main__":
    unittest.main()
