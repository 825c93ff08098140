#!/usr/bin/env python3
"""Extraction benchmark: builds launchers around large generated packages (half
random bytes, half compressible text, stored raw in the package's Binary
table), then times in the same Wine prefix
  1. the launcher's extraction of its package, read in place from the
     launcher's resources (bench_extract launcher),
  2. a bare cabinet copy of the same cabinet from a file (bench_extract fdi),
  3. cabextract natively on the same cabinet,
and prints the times, the ratios, MB/s and the peak memory of the Wine
process of runs 1 and 2 (resident set, and its anonymous part: memory the
process allocated, as opposed to mapped file pages).

usage: bench-extract.py BUILD_DIR [SIZE_MB ...]   (default sizes: 100 300)
"""
import os
import pathlib
import random
import shutil
import subprocess
import sys
import threading
import time

ROOT = pathlib.Path(__file__).resolve().parents[1]
sys.path.insert(0, str(ROOT / "tests" / "e2e"))
os.environ.setdefault("ORVANE_E2E_DIR", "")
os.environ.setdefault("ORVANE_WINE_RUN", str(ROOT / "tests" / "rig" / "wine-run"))
os.environ.setdefault("ORVANE_VERSION", "")
os.environ.setdefault("ORVANE_KIT", "")
import launcher  # noqa: E402  (PE resource reader)

WINE_RUN = str(ROOT / "tests" / "rig" / "wine-run")
WINESERVER = "/usr/lib/wine/wineserver64" if os.path.exists("/usr/lib/wine/wineserver64") else "wineserver"
REPEATS = 3

WXS = """<?xml version="1.0" encoding="utf-8"?>
<Wix xmlns="http://schemas.microsoft.com/wix/2006/wi">
  <Product Id="{{B3E7C0A1-5D2F-4E6B-9A1C-0000000000{size:02X}}}" Name="Quelto Bench {size}" Language="1033" Version="1.0.0"
           Manufacturer="Quelto" UpgradeCode="{{B3E7C0A1-5D2F-4E6B-9A1C-1000000000{size:02X}}}">
    <Package InstallerVersion="500" Compressed="yes" InstallScope="perMachine"/>
    <Media Id="1" Cabinet="bench.cab" EmbedCab="yes"/>
    <Binary Id="Payload" SourceFile="payload.bin"/>
    <Directory Id="TARGETDIR" Name="SourceDir">
      <Directory Id="ProgramFilesFolder">
        <Directory Id="INSTALLDIR" Name="Bench">
          <Component Id="Note" Guid="{{B3E7C0A1-5D2F-4E6B-9A1C-2000000000{size:02X}}}">
            <File Id="NoteFile" Name="note.txt" Source="note.txt" KeyPath="yes"/>
          </Component>
        </Directory>
      </Directory>
    </Directory>
    <Feature Id="Main" Level="1"><ComponentRef Id="Note"/></Feature>
  </Product>
</Wix>
"""


def windows_path(path):
    return "Z:" + str(pathlib.Path(path).resolve()).replace("/", "\\")


def write_payload(path, megabytes):
    """Half incompressible, half text that compresses well but not trivially."""
    rng = random.Random(megabytes)
    words = [bytes(rng.choice(b"abcdefghijklmnopqrstuvwxyz") for _ in range(rng.randint(2, 9))) for _ in range(4000)]
    chunk = 1 << 20
    with open(path, "wb") as out:
        for i in range(megabytes):
            if i % 2 == 0:
                out.write(os.urandom(chunk))
            else:
                text = bytearray()
                while len(text) < chunk:
                    text += rng.choice(words) + (b"\n" if rng.random() < 0.1 else b" ")
                out.write(bytes(text[:chunk]))


def make_launcher(work, megabytes, kit):
    work.mkdir(parents=True, exist_ok=True)
    exe = work / "bench.exe"
    cabinet = work / "package.cab"
    if exe.exists() and cabinet.exists():
        return exe, cabinet
    print(f"  generating a {megabytes} MB package", flush=True)
    write_payload(work / "payload.bin", megabytes)
    (work / "note.txt").write_text("bench\n")
    (work / "bench.wxs").write_text(WXS.format(size=megabytes % 256))
    subprocess.run(["wixl", "-o", str(work / "bench.msi"), str(work / "bench.wxs")], cwd=work, check=True)
    (work / "bench.json").write_text('{"language": "1033", "os": "6.1.1", "minimumMsi": "500",'
                                     ' "packages": [{"msi": "bench.msi", "productId": "MW::BENCH"}]}')
    print("  building the launcher", flush=True)
    subprocess.run([sys.executable, str(ROOT / "tools" / "build-launcher"), "--kit", str(kit), str(work / "bench.json"),
                    str(exe)], check=True)
    data = launcher.catalogue(exe)[("PACKAGE_0", 1033)]
    cabinet.write_bytes(data[4:])
    (work / "payload.bin").unlink()
    return exe, cabinet


class PeakMemory:
    """Samples /proc for every process whose command line names needle."""

    def __init__(self, needle):
        self.needle = needle.encode()
        self.rss = self.anon = 0
        self.running = True
        self.thread = threading.Thread(target=self.sample, daemon=True)
        self.thread.start()

    def sample(self):
        while self.running:
            for pid in os.listdir("/proc"):
                if not pid.isdigit():
                    continue
                try:
                    if self.needle not in pathlib.Path(f"/proc/{pid}/cmdline").read_bytes():
                        continue
                    for line in pathlib.Path(f"/proc/{pid}/status").read_text().splitlines():
                        if line.startswith("VmRSS:"):
                            self.rss = max(self.rss, int(line.split()[1]))
                        elif line.startswith("RssAnon:"):
                            self.anon = max(self.anon, int(line.split()[1]))
                except OSError:
                    continue
            time.sleep(0.02)

    def stop(self):
        self.running = False
        self.thread.join()
        return self.rss // 1024, self.anon // 1024


def run_timed(args):
    """Best seconds reported by bench_extract over REPEATS runs, and peak memory."""
    best = None
    memory = PeakMemory("bench_extract")
    for _ in range(REPEATS):
        out = subprocess.run([WINE_RUN, *args], stdin=subprocess.DEVNULL, capture_output=True, text=True, timeout=1800)
        fields = dict(line.split(None, 1) for line in out.stdout.splitlines() if " " in line)
        if out.returncode != 0 or "seconds" not in fields:
            raise SystemExit(f"bench_extract failed ({out.returncode}): {out.stdout}{out.stderr}")
        seconds = float(fields["seconds"])
        best = seconds if best is None else min(best, seconds)
    return best, memory.stop()


def run_cabextract(cabinet, target):
    best = None
    for _ in range(REPEATS):
        shutil.rmtree(target, ignore_errors=True)
        target.mkdir(parents=True)
        start = time.perf_counter()
        subprocess.run(["cabextract", "-q", "-d", str(target), str(cabinet)], check=True)
        seconds = time.perf_counter() - start
        best = seconds if best is None else min(best, seconds)
    shutil.rmtree(target, ignore_errors=True)
    return best


def main():
    build = pathlib.Path(sys.argv[1] if len(sys.argv) > 1 else "build/win64").resolve()
    sizes = [int(s) for s in sys.argv[2:]] or [100, 300]
    bench = build / "tests" / "bench" / "bench_extract.exe"
    kit = build / "kit.json"
    if not bench.exists():
        raise SystemExit(f"{bench} is missing; build the tree first")
    os.environ["WINEPREFIX"] = str(build / "wineprefix")
    os.environ["WINEDEBUG"] = "-all"
    work_root = build / "bench"
    if not (build / "wineprefix" / "system.reg").exists():
        subprocess.run([WINE_RUN, "wineboot", "-i"], stdin=subprocess.DEVNULL, capture_output=True)
        subprocess.run([WINESERVER, "-w"])
    subprocess.run([WINESERVER, "-k"], capture_output=True)
    subprocess.run([WINESERVER, "-p"])
    try:
        subprocess.run([WINE_RUN, "cmd.exe", "/c", "exit"], stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                       stderr=subprocess.DEVNULL, timeout=120)
        rows = []
        for megabytes in sizes:
            print(f"{megabytes} MB:", flush=True)
            exe, cabinet = make_launcher(work_root / f"{megabytes}mb", megabytes, kit)
            size_mb = cabinet.stat().st_size / 1e6
            unpacked = work_root / "out"
            ours, ours_memory = run_timed([str(bench), "launcher", windows_path(exe)])
            bare, bare_memory = run_timed([str(bench), "fdi", windows_path(cabinet), windows_path(unpacked)])
            shutil.rmtree(unpacked, ignore_errors=True)
            native = run_cabextract(cabinet, unpacked)
            rows.append((megabytes, size_mb, ours, bare, native, ours_memory, bare_memory))
    finally:
        subprocess.run([WINESERVER, "-k"], capture_output=True)

    print()
    print(f"best of {REPEATS} runs; cabinet size in MB (10^6 bytes); memory: peak resident / peak anonymous, MiB")
    print(f"{'package':>8} {'cabinet':>8} | {'launcher s':>10} {'MB/s':>6} | {'bare FDI s':>10} {'MB/s':>6} | "
          f"{'cabextract s':>12} {'MB/s':>6} | {'launcher/bare':>13} {'launcher/cabextract':>19} | "
          f"{'launcher mem':>12} {'bare mem':>10}")
    for megabytes, size_mb, ours, bare, native, ours_memory, bare_memory in rows:
        print(f"{megabytes:>6}MB {size_mb:>8.1f} | {ours:>10.3f} {size_mb / ours:>6.1f} | {bare:>10.3f} {size_mb / bare:>6.1f} | "
              f"{native:>12.3f} {size_mb / native:>6.1f} | {ours / bare:>13.3f} {ours / native:>19.3f} | "
              f"{ours_memory[0]:>5}/{ours_memory[1]:<6} {bare_memory[0]:>4}/{bare_memory[1]:<5}")
    print("target: launcher/bare at most 1.05; the launcher's anonymous memory the same for every package size")


if __name__ == "__main__":
    main()
