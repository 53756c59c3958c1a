#!/usr/bin/env python3
"""The layer check on small trees made here: each include that points up or
sideways, or out of bytes/ code, is reported with its file and line, a listed
exception lets its include through, and a clean tree passes."""
import contextlib
import importlib.util
import io
import os
import sys
import tempfile
import unittest

SCRIPT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "scripts", "check-layers.py")


def load_check():
    spec = importlib.util.spec_from_file_location("check_layers", SCRIPT)
    module = importlib.util.module_from_spec(spec)
    spec.loader.exec_module(module)
    return module


class LayerCheck(unittest.TestCase):
    def setUp(self):
        self.check = load_check()
        self.folder = tempfile.TemporaryDirectory()
        self.root = self.folder.name
        self.write("foundation/bytes/Text.h", "#pragma once\n")
        self.write("foundation/File.h", '#include "foundation/bytes/Text.h"\n#include <windows.h>\n')
        self.write("store/bytes/Cipher.h", '#include "foundation/bytes/Text.h"\n')
        self.write("store/Table.h", '#include "foundation/File.h"\n#include "store/bytes/Cipher.h"\n')
        self.write("note/Note.cpp", '#include "store/Table.h"\n#include "net/bytes/Wire.h"\n')
        self.write("net/bytes/Wire.h", '#include "store/bytes/Cipher.h"\n')
        self.write("shell/Main.cpp", '#include "note/Note.h"\n#include "calendar/Grid.h"\n')
        self.write("tests/store/TableTest.cpp", '#include "shell/Main.h"\n')
        self.write("resources/ids/TextIds.h", "#define IDS_TEXT 1\n")
        self.write("resources/strings/Texts.rc", '#include "resources/ids/TextIds.h"\n#include "store/Table.h"\n')

    def tearDown(self):
        self.folder.cleanup()

    def write(self, path, text):
        full = os.path.join(self.root, path)
        os.makedirs(os.path.dirname(full), exist_ok=True)
        with open(full, "w") as file:
            file.write(text)

    def run_check(self):
        output = io.StringIO()
        sys.argv = ["check-layers.py", self.root]
        with contextlib.redirect_stdout(output):
            result = self.check.main()
        return result, output.getvalue()

    def test_a_tree_whose_includes_all_point_down_passes(self):
        result, output = self.run_check()
        self.assertEqual(result, 0, output)
        self.assertIn("Layer check passed", output)

    def test_includes_up_sideways_and_out_of_bytes_are_named_with_their_lines(self):
        self.write("store/Table.cpp", '#include "store/Table.h"\n#include "shell/Main.h"\n')
        self.write("notemanager/List.cpp", '#include "calendar/Grid.h"\n')
        self.write("net/bytes/Mime.cpp", '#include "foundation/File.h"\n')
        self.write("note/Window.cpp", '#include "../net/Send.h"\n')
        self.write("gadgets/Gadget.cpp", "\n")
        self.write("resources/ids/MenuIds.h", '#include "foundation/File.h"\n')
        result, output = self.run_check()
        self.assertEqual(result, 1)
        self.assertIn("store/Table.cpp:2: includes shell/Main.h: shell/ is not below store/", output)
        self.assertIn("notemanager/List.cpp:1: includes calendar/Grid.h: calendar/ is not below notemanager/", output)
        self.assertIn("net/bytes/Mime.cpp:1: includes foundation/File.h: bytes/ code includes only bytes/ code", output)
        self.assertIn("note/Window.cpp:1: includes net/Send.h: net/ is not below note/", output)
        self.assertIn("gadgets/Gadget.cpp: the folder gadgets/ has no place in the layer order", output)
        self.assertIn("resources/ids/MenuIds.h:1: includes foundation/File.h: foundation/ is not below resources/",
                      output)
        self.assertNotIn("Texts.rc", output)
        self.assertIn("the folders include each other in a circle: ", output)
        self.assertIn("store/ -> shell/", output)
        self.assertNotIn("tests/", output)

    def test_a_listed_exception_passes_and_one_no_longer_needed_is_reported(self):
        self.write("store/Table.cpp", '#include "shell/Main.h"\n')
        self.check.EXCEPTIONS = [("store/Table.cpp", "shell/Main.h", "a reason")]
        result, output = self.run_check()
        self.assertNotIn("store/Table.cpp:1", output)
        self.assertIn("circle", output)  # an exception still may not close a circle
        self.write("store/Table.cpp", "\n")
        result, output = self.run_check()
        self.assertEqual(result, 1)
        self.assertIn("exception store/Table.cpp -> shell/Main.h is listed but not needed", output)
        self.check.EXCEPTIONS = [("store/Table.cpp", "shell/Main.h", "a reason")] * 6
        result, output = self.run_check()
        self.assertIn("6 exceptions are listed; at most 5 may be", output)


if __name__ == "__main__":
    unittest.main()
