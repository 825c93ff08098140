"""What the launcher executable itself must be: a GUI program with a static
runtime, its manifest, version information and five string tables. Checked
on the build the tests run and on the shipped 32-bit build when given."""
import os
import pathlib
import re
import struct
import unittest

import launcher

SYSTEM_DLLS = {"kernel32.dll", "user32.dll", "gdi32.dll", "advapi32.dll", "shell32.dll", "msi.dll", "version.dll",
               "comctl32.dll", "ole32.dll", "oleaut32.dll", "msvcrt.dll", "shlwapi.dll", "cabinet.dll"}
SUPPORTED_OS = ["e2011457-1546-43c5-a5fe-008deee3d3f0", "35138b9a-5d96-4fbd-8e2d-a2440225f93a",
                "4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38", "1f676c76-80e1-4239-95bb-83d0f6d0da78",
                "8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a"]


def builds():
    yield launcher.E2E_DIR / "single_en.exe", None
    shipped = os.environ.get("ORVANE_SHIPPED_EXE")
    if shipped:
        yield pathlib.Path(shipped), (0x14C, 0x10B)  # i386, PE32


class Executable(unittest.TestCase):
    def test_launcher_executables(self):
        for path, expected in builds():
            with self.subTest(path=str(path)):
                header = launcher.pe_header(path)
                if expected:
                    self.assertEqual((header["machine"], header["magic"]), expected)
                self.assertEqual(header["subsystem"], 2, "GUI subsystem")
                self.assertLessEqual(set(header["dlls"]), SYSTEM_DLLS, "only DLLs that Windows ships")

                res = launcher.pe_resources(path)
                manifest = res[(24, 1, 1033)].decode("utf-8")
                self.assertRegex(manifest, r'requestedExecutionLevel level="requireAdministrator"')
                self.assertEqual(re.findall(r'supportedOS Id="\{([0-9a-f-]+)\}"', manifest), SUPPORTED_OS)
                self.assertRegex(manifest, r'name="Microsoft.Windows.Common-Controls" version="6.0.0.0"')

                version = res[(16, 1, 1033)]
                fixed = version.index(struct.pack("<I", 0xFEEF04BD))
                ms, ls = struct.unpack_from("<II", version, fixed + 8)
                self.assertEqual(f"{ms >> 16}.{ms & 0xFFFF}.{ls >> 16}.{ls & 0xFFFF}", launcher.VERSION)

                string_languages = {lang for (rtype, _, lang) in res if rtype == 6}
                self.assertEqual(string_languages, {1033, 1031, 1034, 1036, 1041})
                self.assertIn(("PACKAGE_COUNT", 1033), launcher.catalogue(path))


if __name__ == "__main__":
    unittest.main(verbosity=2)
