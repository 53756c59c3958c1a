#!/usr/bin/env python3
"""The private names check on small trees made here: a function, a variable or
a type private to two sources of one program is reported with every file and
line, whether the sources are program sources or a test's and the test
support's; a name two programs each keep once, a class's members, a named
namespace's names and bytes/ sources pass."""
import contextlib
import importlib.util
import io
import os
import sys
import tempfile
import unittest

SCRIPT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "scripts",
                      "check-private-names.py")


def load_check():
    spec = importlib.util.spec_from_file_location("check_private_names", SCRIPT)
    module = importlib.util.module_from_spec(spec)
    spec.loader.exec_module(module)
    return module


class PrivateNamesCheck(unittest.TestCase):
    def setUp(self):
        self.check = load_check()
        self.folder = tempfile.TemporaryDirectory()
        self.root = self.folder.name
        # Names that stay within their sources, or are not private at all.
        self.write("note/Note.cpp", "namespace {\nint NoteWidth(int a) { return a; }\n}\n"
                                    "void CNote::Refuse() {}\nnamespace qn { bool Shown() { return true; } }\n")
        self.write("shell/Main.cpp", "namespace {\nstruct MainEntry { static void Refuse(); };\n"
                                     "enum class Kind { kFirst };\n}\nstatic int s_mainCount = 0;\n"
                                     "class CMain { static void Shown(); };\n")
        self.write("note/bytes/Packed.cpp", "namespace {\nint NoteWidth(int a) { return a; }\n}\n")
        self.write("tests/note/NoteTest.cpp", "namespace {\nvoid Click(int id) {}\n}\n")
        self.write("tests/shell/MainTest.cpp", "namespace {\nvoid Click(int id) {}\n}\n")
        self.write("tests/support/Driving.cpp", "namespace {\nconst int kWait = 5;\n}\n")

    def tearDown(self):
        self.folder.cleanup()

    def write(self, path, text):
        full = os.path.join(self.root, path)
        os.makedirs(os.path.dirname(full), exist_ok=True)
        with open(full, "w") as file:
            file.write(text)

    def run_check(self):
        output = io.StringIO()
        sys.argv = ["check-private-names.py", self.root]
        with contextlib.redirect_stdout(output):
            result = self.check.main()
        return result, output.getvalue()

    def test_a_tree_whose_private_names_are_each_its_own_passes(self):
        result, output = self.run_check()
        self.assertEqual(result, 0, output)
        self.assertIn("Private names check passed", output)

    def test_a_function_variable_and_type_private_to_two_sources_are_named_with_their_lines(self):
        self.write("calendar/Grid.cpp", '#include "calendar/Grid.h"\n\nnamespace {\n'
                                        "bool NoteWidth(const char* text) { return text; }\n"
                                        "struct MainEntry {};\nusing Kind = int;\n}\n"
                                        "static const char s_mainCount[] = \"x\";\n")
        result, output = self.run_check()
        self.assertEqual(result, 1, output)
        self.assertIn("qnpost: NoteWidth is private to more than one source: calendar/Grid.cpp:4, note/Note.cpp:2",
                      output)
        self.assertIn("qnpost: MainEntry is private to more than one source: calendar/Grid.cpp:5, shell/Main.cpp:2",
                      output)
        self.assertIn("qnpost: Kind is private to more than one source: calendar/Grid.cpp:6, shell/Main.cpp:3",
                      output)
        self.assertIn("qnpost: s_mainCount is private to more than one source: calendar/Grid.cpp:8, shell/Main.cpp:5",
                      output)
        self.assertEqual(output.count(" is private to more than one source"), 4, output)

    def test_a_test_source_and_the_test_support_share_one_program(self):
        self.write("tests/note/NoteWaitTest.cpp", "static const int kWait = 1;\n")
        result, output = self.run_check()
        self.assertEqual(result, 1, output)
        self.assertIn("note_tests: kWait is private to more than one source: "
                      "tests/note/NoteWaitTest.cpp:1, tests/support/Driving.cpp:2", output)
        self.assertNotIn("shell_tests", output)


if __name__ == "__main__":
    unittest.main()
