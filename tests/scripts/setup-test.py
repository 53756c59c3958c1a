#!/usr/bin/env python3
"""The set-up's package install, run against stand-ins for apt-get, dpkg and
dpkg-query early on PATH: an install that works stays one plain install; after
a failed list update an install that cannot be resolved is tried once more from
the release's own suite, with one line saying so; when that fails too, apt's
whole message is shown; an install interrupted earlier is completed first;
and 32-bit Wine is installed where the machine runs 32-bit code, and only
there, beside the 64-bit Wine that every machine gets."""
import os
import shutil
import stat
import subprocess
import tempfile
import unittest

REPO = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..")
SOURCES = "/etc/apt/sources.list.d/qnpost-deb-src.sources"

# apt-get as a mirror in the middle of a sync leaves it: the update fails, and
# an install fails with the unmet dependencies on standard output, unless the
# scenario's file lets it through.
APT_GET = """#!/bin/sh
echo "apt-get $*" >> "$QN_STAND_IN/calls"
case " $* " in
  *" update "*) [ -f "$QN_STAND_IN/update-works" ] && exit 0
                echo "E: Failed to fetch .../Packages.xz  File has unexpected size. Mirror sync in progress?" >&2
                exit 100 ;;
  *" check "*) [ -f "$QN_STAND_IN/broken" ] && exit 100; exit 0 ;;
  *" -f install "*) rm -f "$QN_STAND_IN/broken"; exit 0 ;;
  *" -t "*) [ -f "$QN_STAND_IN/release-install-works" ] && exit 0 ;;
  *" install "*) [ -f "$QN_STAND_IN/install-works" ] && exit 0 ;;
esac
echo " libdw1:i386 : Depends: zlib1g:i386 (>= 1:1.2.2.3) but it is not going to be installed"
echo "E: Unable to correct problems, you have held broken packages." >&2
exit 100
"""
DPKG = """#!/bin/sh
echo "dpkg $*" >> "$QN_STAND_IN/calls"
case "$1" in
  --print-foreign-architectures) echo i386 ;;
  --audit) [ -f "$QN_STAND_IN/broken" ] && echo "The following packages are only half configured" ;;
esac
exit 0
"""
# Every package is installed but the two Wines.
DPKG_QUERY = """#!/bin/sh
for last; do :; done
case "$last" in wine32:i386 | wine64) exit 1 ;; esac
printf 'install ok installed'
"""
# The machine's answer to whether it runs 32-bit code, as the scenario says.
RUNS_32BIT_CODE = """#!/bin/sh
[ -f "$QN_STAND_IN/runs-32bit" ]
"""
LOCALE = "#!/bin/sh\necho en_US.utf8\n"
SLEEP = "#!/bin/sh\nexit 0\n"


@unittest.skipUnless(os.path.exists(SOURCES), "the set-up has not run on this machine")
class SetupInstall(unittest.TestCase):
    def setUp(self):
        self.folder = tempfile.TemporaryDirectory()
        root = self.folder.name
        self.stand_in = os.path.join(root, "stand-in")
        os.makedirs(self.stand_in)
        for name, text in (("apt-get", APT_GET), ("dpkg", DPKG), ("dpkg-query", DPKG_QUERY),
                           ("locale", LOCALE), ("sleep", SLEEP)):
            path = os.path.join(self.stand_in, name)
            with open(path, "w") as file:
                file.write(text)
            os.chmod(path, os.stat(path).st_mode | stat.S_IXUSR)
        # A copy of the script in a repository whose zlib source is already there.
        self.repo = os.path.join(root, "repo")
        os.makedirs(os.path.join(self.repo, "scripts"))
        shutil.copy(os.path.join(REPO, "scripts", "setup.sh"), os.path.join(self.repo, "scripts"))
        probe = os.path.join(self.repo, "scripts", "runs-32bit-code.sh")
        with open(probe, "w") as file:
            file.write(RUNS_32BIT_CODE)
        os.chmod(probe, os.stat(probe).st_mode | stat.S_IXUSR)
        minizip = os.path.join(self.repo, ".deps", "zlib", "contrib", "minizip")
        os.makedirs(minizip)
        open(os.path.join(minizip, "zip.c"), "w").close()

    def tearDown(self):
        self.folder.cleanup()

    def mark(self, *names):
        for name in names:
            open(os.path.join(self.stand_in, name), "w").close()

    def run_setup(self):
        environment = dict(os.environ, QN_STAND_IN=self.stand_in,
                           PATH=self.stand_in + os.pathsep + os.environ["PATH"])
        done = subprocess.run(["bash", os.path.join(self.repo, "scripts", "setup.sh")], env=environment,
                              capture_output=True, text=True, timeout=60)
        with open(os.path.join(self.stand_in, "calls")) as file:
            calls = [line.split() for line in file.read().splitlines()]
        return done, [call for call in calls if call[0] == "apt-get" or call[1:2] == ["--configure"]]

    @staticmethod
    def installs(calls):
        return [call for call in calls if "install" in call]

    def test_an_install_that_works_at_once_stays_one_plain_install(self):
        self.mark("update-works", "install-works", "runs-32bit")
        done, calls = self.run_setup()
        self.assertEqual(done.returncode, 0, done.stderr)
        installs = self.installs(calls)
        self.assertEqual(len(installs), 1)
        self.assertNotIn("-t", installs[0])
        self.assertIn("wine32:i386", installs[0])
        self.assertIn("wine64", installs[0])
        self.assertNotIn("own suite", done.stderr)

    def test_a_machine_that_runs_64_bit_code_only_gets_64_bit_wine_alone(self):
        self.mark("update-works", "install-works")
        done, calls = self.run_setup()
        self.assertEqual(done.returncode, 0, done.stderr)
        installs = self.installs(calls)
        self.assertEqual(len(installs), 1)
        self.assertIn("wine64", installs[0])
        self.assertNotIn("wine32:i386", installs[0])

    def test_after_a_failed_update_the_install_is_tried_once_more_from_the_release_suite(self):
        self.mark("release-install-works")
        done, calls = self.run_setup()
        self.assertEqual(done.returncode, 0, done.stderr)
        self.assertEqual(sum("update" in call for call in calls), 3)
        installs = self.installs(calls)
        self.assertEqual(len(installs), 2)
        self.assertNotIn("-t", installs[0])
        self.assertEqual(installs[1][installs[1].index("-t") + 1], "bookworm")
        told = [line for line in done.stderr.splitlines() if "bookworm's own suite" in line]
        self.assertEqual(len(told), 1, done.stderr)
        self.assertIn("apt-get upgrade", told[0])
        # The first install's failure is not shown: it was mended.
        self.assertNotIn("held broken packages", done.stderr)

    def test_when_the_release_suite_fails_too_apts_whole_message_is_shown(self):
        done, calls = self.run_setup()
        self.assertNotEqual(done.returncode, 0)
        self.assertEqual(len(self.installs(calls)), 2)
        self.assertIn("Depends: zlib1g:i386", done.stderr)
        self.assertIn("held broken packages", done.stderr)

    def test_a_failed_install_after_a_good_update_is_shown_without_a_second_try(self):
        self.mark("update-works")
        done, calls = self.run_setup()
        self.assertNotEqual(done.returncode, 0)
        self.assertEqual(len(self.installs(calls)), 1)
        self.assertIn("Depends: zlib1g:i386", done.stderr)
        self.assertNotIn("own suite", done.stderr)

    def test_an_interrupted_install_is_completed_before_the_new_one(self):
        self.mark("update-works", "install-works", "broken")
        done, calls = self.run_setup()
        self.assertEqual(done.returncode, 0, done.stderr)
        words = [" ".join(call[1:]) for call in calls if call[1:2] != ["update"] and "check" not in call]
        self.assertEqual(words[0], "--configure -a")
        self.assertIn("-f install", words[1])
        self.assertIn("wine64", words[2])


if __name__ == "__main__":
    unittest.main()
