"""The launcher builder: the catalogue it writes and the errors it reports."""
import json
import pathlib
import re
import shutil
import struct
import subprocess
import tempfile
import unittest

import launcher

E2E = launcher.E2E_DIR


def build(manifest_dict, out_name="out.exe", files=()):
    """Runs the builder on a manifest in a fresh folder with copies of files."""
    folder = pathlib.Path(tempfile.mkdtemp())
    for f in files:
        shutil.copy(E2E / f, folder / f)
    manifest = folder / "manifest.json"
    manifest.write_text(manifest_dict if isinstance(manifest_dict, str) else json.dumps(manifest_dict))
    out = folder / out_name
    done = subprocess.run(["python3", str(launcher.BUILD_LAUNCHER), "--kit", launcher.KIT, str(manifest), str(out)],
                          stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True, timeout=300)
    return done, out


def assert_one_error_line(test, done, out, named):
    """A failed build: exit 1, one error line naming the problem, no launcher."""
    test.assertEqual(done.returncode, 1)
    lines = done.stderr.strip().splitlines()
    test.assertEqual(len(lines), 1, done.stderr)
    test.assertTrue(lines[0].startswith("build-launcher: error: "), lines[0])
    test.assertIn(named, lines[0])
    test.assertFalse(out.exists())


def msi_facts(msi):
    table = subprocess.run(["msiinfo", "export", str(msi), "Property"], stdout=subprocess.PIPE, text=True, check=True).stdout
    props = dict(line.split("\t", 1) for line in table.splitlines()[3:] if "\t" in line)
    summary = subprocess.run(["msiinfo", "suminfo", str(msi)], stdout=subprocess.PIPE, text=True, check=True).stdout
    revision = [l.split(": ", 1)[1] for l in summary.splitlines() if l.startswith("Revision number")][0]
    return props, revision


class Catalogue(unittest.TestCase):
    def test_multi_language_catalogue(self):
        res = launcher.catalogue(E2E / "multi.exe")
        props, revision = msi_facts(E2E / "product.msi")
        data_names = re.compile(r"PACKAGE_\d+(_\d+)?")
        texts = {name: launcher.text_of(v) for (name, lang), v in res.items() if not data_names.fullmatch(name)}
        self.assertEqual(texts["PACKAGE_COUNT"], "2")
        self.assertEqual(texts["OS"], "6.1.1")
        self.assertEqual(texts["MINIMUM_MSI"], "500")
        self.assertEqual(texts["PROPERTIES"], 'FOO="1" ')
        # Package 0 from the MSI itself, package 1 with the manifest's overrides.
        self.assertEqual(texts["PRODUCT_NAME_0"], props["ProductName"])
        self.assertEqual(texts["PRODUCT_CODE_0"], props["ProductCode"])
        self.assertEqual(texts["PRODUCT_VERSION_0"], props["ProductVersion"])
        self.assertEqual(texts["PACKAGE_CODE_0"], revision)
        self.assertEqual(texts["PRODUCT_PLATFORM_0"], "Intel")
        self.assertEqual(texts["PRODUCT_ID_0"], "MW::TEST")
        self.assertNotIn("INSTALLER_TYPE_0", texts)
        self.assertEqual(texts["PRODUCT_NAME_1"], "Quelto Markwell Test Tools")
        self.assertEqual(texts["PRODUCT_CODE_1"], "{8E4B1C2D-6F70-4A81-B2C3-D4E5F6A7B899}")
        self.assertEqual(texts["PRODUCT_PLATFORM_1"], "x64")
        self.assertEqual(texts["INSTALLER_TYPE_1"], "msi")
        # Every resource sits in the language the catalogue rules ask for.
        standin = (E2E / "standin.mst").read_bytes()
        for index in (0, 1):
            for lang in (1031, 1034, 1036, 1041):
                self.assertEqual(res[(f"PACKAGE_{index}_{lang}", lang)], standin)
        self.assertEqual({lang for (name, lang) in res if not re.fullmatch(r"PACKAGE_\d+_\d+", name)}, {1033})
        self.assertEqual(len(res), len(texts) + 2 + 8)

    def test_package_data_is_a_length_prefixed_cabinet_holding_the_msi(self):
        res = launcher.catalogue(E2E / "single_de.exe")
        self.assertEqual({lang for (_, lang) in res}, {1031})
        data = res[("PACKAGE_0", 1031)]
        (length,) = struct.unpack_from("<I", data)
        self.assertEqual(length, len(data) - 4)
        self.assertEqual(data[4:8], b"MSCF")
        folder = pathlib.Path(tempfile.mkdtemp())
        (folder / "p.cab").write_bytes(data[4:])
        subprocess.run(["gcab", "-x", "-C", str(folder), str(folder / "p.cab")], check=True)
        self.assertEqual((folder / "product.msi").read_bytes(), (E2E / "product.msi").read_bytes())

    def test_single_language_catalogue_has_no_transforms_or_optional_texts(self):
        res = launcher.catalogue(E2E / "single_no_minmsi.exe")
        names = {name for (name, _) in res}
        self.assertEqual(names, {"OS", "PACKAGE_COUNT", "PRODUCT_NAME_0", "PRODUCT_CODE_0", "PACKAGE_CODE_0",
                                 "PRODUCT_ID_0", "PRODUCT_PLATFORM_0", "PRODUCT_VERSION_0", "PACKAGE_0"})


class Errors(unittest.TestCase):
    PACKAGE = {"msi": "product.msi", "productId": "MW::TEST"}

    def test_bad_input_gives_one_error_line_and_no_launcher(self):
        cases = [
            ("missing msi", {"packages": [{"msi": "nowhere.msi", "productId": "X"}]}, "nowhere.msi"),
            ("msi not a package", {"packages": [{"msi": "standin.mst", "productId": "X"}]}, "standin.mst"),
            ("malformed manifest", '{"packages": [', "not valid JSON"),
            ("manifest not an object", "[]", "the manifest must be an object"),
            ("field of wrong type", {"packages": [dict(self.PACKAGE, productId=7)]}, '"productId" must be a string'),
            ("msi missing", {"packages": [{"productId": "X"}]}, '"msi" is missing'),
            ("packages not an array", {"packages": {}}, '"packages" must be an array'),
            ("bad language", {"language": "german", "packages": [self.PACKAGE]}, '"language"'),
            ("transforms in a single-language build", {"packages": [dict(self.PACKAGE, transforms={"1031": "standin.mst"})]}, '"multi"'),
            ("unknown transform language", {"language": "multi", "packages": [dict(self.PACKAGE, transforms={"1049": "standin.mst"})]}, '"1049"'),
            ("missing transform file", {"language": "multi", "packages": [dict(self.PACKAGE, transforms={"1031": "de.mst"})]}, "de.mst"),
            ("omit not an array", {"omit": "OS", "packages": [self.PACKAGE]}, '"omit"'),
            ("no packages and no product name", {"packages": []}, '"productName"'),
            ("product name beside packages", {"productName": "P", "packages": [self.PACKAGE]}, '"productName"'),
        ]
        for label, manifest, named in cases:
            with self.subTest(label):
                folder_files = ("product.msi", "standin.mst")
                done, out = build(manifest, files=folder_files)
                assert_one_error_line(self, done, out, named)
                self.assertEqual(list(out.parent.glob("out.exe*")), [])

    def test_a_failed_build_removes_an_earlier_launcher(self):
        done, out = build({"packages": [self.PACKAGE]}, files=("product.msi",))
        self.assertEqual(done.returncode, 0, done.stderr)
        self.assertTrue(out.exists())
        (out.parent / "product.msi").unlink()
        done = subprocess.run(["python3", str(launcher.BUILD_LAUNCHER), "--kit", launcher.KIT,
                               str(out.parent / "manifest.json"), str(out)], capture_output=True, text=True)
        self.assertEqual(done.returncode, 1)
        self.assertFalse(out.exists())


# The packages and transforms the transform tests make (tests/transform), when
# the build tree has the transform generator.
TRANSFORMS = E2E.parent / "transform"


@unittest.skipUnless((TRANSFORMS / "lingua_de.mst").is_file(), "the build has no transform generator")
class Localized(unittest.TestCase):
    """Per package, "localized" MSIs become the package's language transforms."""

    def build_here(self, manifest, files):
        folder = pathlib.Path(tempfile.mkdtemp())
        for f in files:
            shutil.copy(TRANSFORMS / f, folder / f)
        (folder / "manifest.json").write_text(json.dumps(manifest))
        out = folder / "out.exe"
        done = subprocess.run(["python3", str(launcher.BUILD_LAUNCHER), "--kit", launcher.KIT,
                               str(folder / "manifest.json"), str(out)], capture_output=True, text=True, timeout=300)
        return done, out

    def test_generated_and_ready_transforms_side_by_side(self):
        package = {"msi": "lingua_en.msi", "productId": "MW::LINGUA",
                   "localized": {"1031": "lingua_de.msi", "1041": "lingua_ja.msi"},
                   "transforms": {"1036": "lingua_fr.mst"}}
        done, out = self.build_here({"language": "multi", "packages": [package]},
                                    ("lingua_en.msi", "lingua_de.msi", "lingua_ja.msi", "lingua_fr.mst"))
        self.assertEqual(done.returncode, 0, done.stderr)
        res = launcher.catalogue(out)
        # The generator writes the same bytes for the same packages, so the
        # generated resources are the transforms the Wine tests apply.
        self.assertEqual(res[("PACKAGE_0_1031", 1031)], (TRANSFORMS / "lingua_de.mst").read_bytes())
        self.assertEqual(res[("PACKAGE_0_1041", 1041)], (TRANSFORMS / "lingua_ja.mst").read_bytes())
        self.assertEqual(res[("PACKAGE_0_1036", 1036)], (TRANSFORMS / "lingua_fr.mst").read_bytes())
        self.assertNotIn(("PACKAGE_0_1034", 1034), res)

    def test_bad_localized_entries_give_one_error_line_and_no_launcher(self):
        base = {"msi": "lingua_en.msi", "productId": "MW::LINGUA"}
        cases = [
            ("both for one language", {"language": "multi", "packages": [dict(base, localized={"1031": "lingua_de.msi"}, transforms={"1031": "lingua_fr.mst"})]}, "language 1031 has both"),
            ("single-language build", {"packages": [dict(base, localized={"1031": "lingua_de.msi"})]}, '"localized" need "language": "multi"'),
            ("unknown language", {"language": "multi", "packages": [dict(base, localized={"1049": "lingua_de.msi"})]}, '"1049"'),
            ("missing localized msi", {"language": "multi", "packages": [dict(base, localized={"1031": "gone.msi"})]}, "gone.msi"),
            ("localized file not an msi", {"language": "multi", "packages": [dict(base, localized={"1031": "lingua_fr.mst"})]},
             "making the 1031 transform of lingua_en.msi from lingua_fr.mst failed: msi-transform: error: "),
        ]
        for label, manifest, named in cases:
            with self.subTest(label):
                done, out = self.build_here(manifest, ("lingua_en.msi", "lingua_de.msi", "lingua_fr.mst"))
                assert_one_error_line(self, done, out, named)


if __name__ == "__main__":
    unittest.main(verbosity=2)
