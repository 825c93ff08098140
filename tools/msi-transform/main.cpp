// msi-transform BASE.msi TARGET.msi OUT.mst
//
// Makes the Windows Installer transform that turns the base package into the
// target package: every row inserted, changed or deleted in their tables.
// Both packages must share one schema. On any error it prints one line
// "msi-transform: error: ...", exits with 1 and leaves no output file.
#include "MsiTables.h"
#include "TransformDiff.h"
#include "TransformWriter.h"

#include <glib.h>

#include <cstdio>
#include <string>
#include <unistd.h>

namespace {
// libmsi and libgsf report what they meet on the way (a file that is no
// database, a missing table) as log messages; the tool's own error line says
// what went wrong, so they stay quiet.
void quietLog(const gchar *, GLogLevelFlags, const gchar *, gpointer) {}
}  // namespace

int main(int argc, char **argv) {
  g_log_set_default_handler(quietLog, nullptr);
  if (argc != 4) {
    std::fprintf(stderr, "usage: msi-transform BASE.msi TARGET.msi OUT.mst\n");
    return 2;
  }
  const std::string out = argv[3];
  std::string error;
  auto fail = [&](const std::string &message) {
    unlink(out.c_str());
    std::fprintf(stderr, "msi-transform: error: %s\n", message.c_str());
    return 1;
  };
  auto base = msitx::MsiTables::open(argv[1], error);
  if (!base) return fail(error);
  auto target = msitx::MsiTables::open(argv[2], error);
  if (!target) return fail(error);
  std::vector<msitx::TableChanges> changes;
  if (!msitx::diffDatabases(*base, *target, changes, error)) return fail(error);
  if (!msitx::writeTransform(*base, *target, changes, out, error)) return fail(error);
  return 0;
}
