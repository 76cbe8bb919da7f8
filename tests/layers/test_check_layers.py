#!/usr/bin/python3
"""The layer check itself: it must flag an upward or sideways include and pass a downward one."""
import os
import subprocess
import sys
import tempfile
import unittest

CHECK = os.path.join(os.path.dirname(os.path.abspath(__file__)), "check_layers.py")
ORDER = ["util", "platform", "audio,ipc", "core"]


def tree(files):
    root = tempfile.mkdtemp(prefix="layers-")
    for path, text in files.items():
        os.makedirs(os.path.join(root, os.path.dirname(path)), exist_ok=True)
        with open(os.path.join(root, path), "w") as out:
            out.write(text)
    return root


def run(files):
    return subprocess.run([sys.executable, CHECK, tree(files), *ORDER], capture_output=True, text=True)


class CheckLayers(unittest.TestCase):
    def test_flags_what_points_up_or_across(self):
        cases = [
            ("util/Text.cpp", '#include "platform/Clock.h"\n'),
            ("platform/posix/Shell.cpp", '#include "core/Plugin.h"\n'),
            ("audio/Wav.h", '  #  include "ipc/Client.h"\n'),
        ]
        for path, text in cases:
            with self.subTest(path=path):
                result = run({path: text})
                self.assertEqual(result.returncode, 1, result.stdout)
                self.assertIn(path, result.stdout)

    def test_passes_what_points_down_and_what_stands_above(self):
        result = run({
            "core/Plugin.cpp": '#include "audio/Wav.h"\n#include "util/Text.h"\n#include <zlib.h>\n',
            "platform/Clock.cpp": '#include "platform/Clock.h"\n',
            "entry/Entry.cpp": '#include "core/Plugin.h"\n',
            "tests/core/PluginTest.cpp": '#include "core/Plugin.h"\n',
        })
        self.assertEqual(result.returncode, 0, result.stdout)


if __name__ == "__main__":
    unittest.main()
