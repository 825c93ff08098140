"""The package catalogue: an empty build, workload files, unusable catalogues."""
import json
import os
import pathlib
import tempfile
import unittest

import launcher

GUID = "{8E4B1C2D-6F70-4A81-B2C3-D4E5F6A7B8%02X}"
# The real package behind every workload entry: a cabinet of the test
# package, whose package code the catalogue must name.
PACKAGE_CODE = launcher.text_of(launcher.catalogue(launcher.E2E_DIR / "single_en.exe")[("PACKAGE_CODE_0", 1033)])


def package(name, index, **changes):
    p = {"productName": name, "productCode": GUID % index, "packageCode": PACKAGE_CODE, "productId": "MW::E",
         "productPlatform": "x64", "productVersion": "2026.1", "packageData": launcher.windows_path(launcher.E2E_DIR / "product.cab")}
    p.update(changes)
    return {k: v for k, v in p.items() if v is not None}


def run_with_workload(content):
    folder = pathlib.Path(tempfile.mkdtemp())
    workload = folder / "workload.json"
    workload.write_text(content if isinstance(content, str) else json.dumps(content))
    log = folder / "run.log"
    result = launcher.run("empty", "/qn", "workload=" + launcher.windows_path(workload), "/L*v", launcher.windows_path(log))
    return result.code, launcher.read_log(log)[1], launcher.windows_path(workload)


class Catalogue(unittest.TestCase):
    def test_an_empty_catalogue_without_workload_is_fine(self):
        log = pathlib.Path(tempfile.mkdtemp()) / "run.log"
        result = launcher.run("empty", "/qn", "/L*v", launcher.windows_path(log))
        self.assertEqual(result.code, 0)
        text = launcher.read_log(log)[1]
        self.assertIn("QVR (c): Reading package information.\r\n", text)
        self.assertNotIn("Installer contains", text)
        self.assertIn("Start processing", text)

    def test_resources_name_their_packages(self):
        log = pathlib.Path(tempfile.mkdtemp()) / "run.log"
        self.assertEqual(launcher.run("multi", "/qn", "/L*v", launcher.windows_path(log)).code, 0)
        text = launcher.read_log(log)[1]
        self.assertIn("QVR (c): Installer contains 2 packages.\r\n", text)
        self.assertIn("QVR (c): Initialized state for package Quelto Markwell Test.\r\n", text)
        self.assertIn("QVR (c): Initialized state for package Quelto Markwell Test Tools.\r\n", text)

    def test_workload_files(self):
        two = {"packages": [package("Quelto Markwell", 1, installerType=None), package("Quelto Markwell Tools", 2)]}
        code, text, _ = run_with_workload(two)
        self.assertEqual(code, 0)
        self.assertIn("QVR (c): Initialized state for package Quelto Markwell.\r\n", text)
        self.assertIn("QVR (c): Initialized state for package Quelto Markwell Tools.\r\n", text)
        self.assertIn("Start processing", text)

        code, text, path = run_with_workload({"packages": {"a": 1}})
        self.assertEqual(code, 13)
        self.assertIn(f"Workload '{path}' is not a proper JSON package array object.\r\n", text)
        self.assertIn("QVR (c): ERROR: \r\n", text)  # code 13 has no short text

        code, text, path = run_with_workload({"packages": []})
        self.assertEqual(code, 13)
        self.assertIn(f"Workload '{path}' doesn't contain any pakages.\r\n", text)

        missing = {"packages": [package("Quelto Markwell", 1), package("Quelto Gone", 2, packageData="C:\\nowhere\\gone.msi")]}
        code, text, _ = run_with_workload(missing)
        self.assertEqual(code, 13)
        self.assertIn("QVR (c): Initialized state for package Quelto Gone.\r\n", text)  # still in the list

        for broken in ['{"packages": [ {"productName": "x",} ', '{"packages": [1]}',
                       json.dumps({"packages": [package("No Code", 1, packageCode=None)]})]:
            with self.subTest(workload=broken):
                code, text, _ = run_with_workload(broken)
                self.assertEqual(code, 13)
                self.assertIn("Workload is not a proper JSON package array object.\r\n", text)

        folder = pathlib.Path(tempfile.mkdtemp())
        log = folder / "run.log"
        result = launcher.run("empty", "/qn", "workload=" + launcher.windows_path(folder / "none.json"), "/L*v",
                              launcher.windows_path(log))
        self.assertEqual(result.code, 13)
        self.assertIn(f"Workload file '{launcher.windows_path(folder / 'none.json')}' does not exist.\r\n",
                      launcher.read_log(log)[1])

    def test_package_codes_must_be_braced_guids(self):
        for bad in ["..\\..\\Windows", "{8E4B1C2D-6F70-4A81-B2C3-D4E5F6A7B8XX}", "x & del *", ""]:
            with self.subTest(code=bad):
                code, text, _ = run_with_workload({"packages": [package("Quelto Markwell", 1, packageCode=bad)]})
                self.assertEqual(code, 13)
                # The reader keeps JSON text as written: json.dumps doubled the backslashes.
                written = bad.replace("\\", "\\\\")
                self.assertIn(f"QVR (c): Package Quelto Markwell has no valid package code ('{written}').\r\n", text)

    def test_sub_package_selection_from_the_command_line(self):
        three = {"packages": [package("Quelto Markwell", 1), package("Quelto Markwell Tools", 2),
                              package("Quelto Markwell Docs", 3)]}
        folder = pathlib.Path(tempfile.mkdtemp())
        workload = folder / "w.json"
        workload.write_text(json.dumps(three))
        for value, kept, skipped in [("none", [], ["Tools", "Docs"]), ("Tools", ["Tools"], ["Docs"]),
                                     ("Docs,tools", ["Docs"], ["Tools"]), ("all", [], [])]:
            with self.subTest(subPackages=value):
                log = folder / "run.log"
                launcher.run("empty", "/qn", "workload=" + launcher.windows_path(workload), "subPackages=" + value,
                             "/L*v", launcher.windows_path(log))
                text = launcher.read_log(log)[1]
                for name in kept:
                    self.assertIn(f"set default handling of package Quelto Markwell {name} due to command line argument.", text)
                for name in skipped:
                    self.assertIn(f"skipped handling of package Quelto Markwell {name} due to command line argument.", text)
                self.assertNotIn("handling of package Quelto Markwell due", text)  # the main package is never touched
                if value == "all":
                    self.assertNotIn("due to command line argument", text)


class CacheFolders(unittest.TestCase):
    def test_exit_removes_the_folders_of_packages_not_installed_except_after_repair_or_removal(self):
        code = launcher.text_of(launcher.catalogue(launcher.E2E_DIR / "single_en.exe")[("PACKAGE_CODE_0", 1033)])
        folder = pathlib.Path(os.environ["WINEPREFIX"]) / "drive_c" / "ProgramData" / "Quelto" / code
        shown = f"C:\\ProgramData\\Quelto\\{code}"
        for switches, removed in [((), True), (("/f",), False), (("/x",), False), (("/u",), True)]:
            with self.subTest(switches=switches):
                folder.mkdir(parents=True, exist_ok=True)
                (folder / "left.txt").write_text("from an earlier run")
                log = pathlib.Path(tempfile.mkdtemp()) / "run.log"
                launcher.run("single_en", "/qn", *switches, "/L*v", launcher.windows_path(log))
                text = launcher.read_log(log)[1]
                self.assertEqual(not folder.exists(), removed)
                if removed:
                    self.assertIn(f"QVR (c): Deleting MSI folder {shown}\r\nQVR (c): Deleted MSI folder {shown}\r\n", text)
                else:
                    self.assertNotIn("Deleting MSI folder", text)


if __name__ == "__main__":
    unittest.main(verbosity=2)
