"""The generator refuses input it cannot turn into a sound transform: one
error line naming the problem, exit code 1, and no output file (not even an
old one left from an earlier run)."""
import pathlib
import subprocess
import sys
import tempfile
import unittest

TOOL = sys.argv[1]
FIXTURES = pathlib.Path(sys.argv[2])

# target (or base) | expected text in the error line
CASES = [
    ("not-an-msi", "is not an MSI database"),
    ("missing.msi", "cannot read"),
    ("bad_extra_table.msi", "table `Extra` exists only in the target"),
    ("bad_extra_column.msi", "column `UIText`.`Note` exists only in the target"),
    ("bad_changed_type.msi", "column `UIText`.`Text` changes its type from L255 to L64"),
    ("bad_changed_key.msi", "the primary key of table `UIText` changes from (Key) to (Key, Text)"),
]


class BadInput(unittest.TestCase):
    def run_tool(self, base, target):
        folder = pathlib.Path(tempfile.mkdtemp())
        out = folder / "out.mst"
        out.write_bytes(b"left from an earlier run")
        done = subprocess.run([TOOL, str(base), str(target), str(out)], stdout=subprocess.PIPE,
                              stderr=subprocess.PIPE, text=True)
        return done, out

    def test_refused_with_one_line_and_no_output(self):
        junk = pathlib.Path(tempfile.mkdtemp()) / "not-an-msi"
        junk.write_text("plain text, no compound file\n")
        for name, expected in CASES:
            target = junk if name == "not-an-msi" else FIXTURES / name
            for base, other in ((FIXTURES / "lingua_en.msi", target), (target, FIXTURES / "lingua_en.msi")):
                if name.startswith("bad_") and base != FIXTURES / "lingua_en.msi":
                    # The same differences seen from the other side.
                    expected_here = (expected.replace("only in the target", "only in the base")
                                     .replace("from L255 to L64", "from L64 to L255")
                                     .replace("from (Key) to (Key, Text)", "from (Key, Text) to (Key)"))
                else:
                    expected_here = expected
                with self.subTest(base=base.name, target=other.name):
                    done, out = self.run_tool(base, other)
                    self.assertEqual(done.returncode, 1)
                    lines = done.stderr.splitlines()
                    self.assertEqual(len(lines), 1, done.stderr)
                    self.assertTrue(lines[0].startswith("msi-transform: error: "), lines[0])
                    self.assertIn(expected_here, lines[0])
                    self.assertEqual(done.stdout, "")
                    self.assertFalse(out.exists())
                    self.assertFalse(out.with_name("out.mst.partial").exists())


if __name__ == "__main__":
    unittest.main(argv=sys.argv[:1])
