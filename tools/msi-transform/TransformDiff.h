// What a transform has to carry to turn a base database into a target: the
// rows deleted, changed and inserted in each table. Both databases must share
// one schema; any difference is refused with a message naming it.
#pragma once

#include "MsiTables.h"

#include <string>
#include <vector>

namespace msitx {

struct RowChange {
  enum Kind { Delete, Update, Insert } kind;
  Row row;                       // the target row (the base row for a delete)
  std::vector<bool> changed;     // per column, for updates
};

struct TableChanges {
  const Table *table;            // the target table
  std::vector<RowChange> changes;
};

// Fills changes (tables without changes are left out) or returns false with
// the schema difference in error.
bool diffDatabases(const MsiTables &base, const MsiTables &target, std::vector<TableChanges> &changes,
                   std::string &error);

}  // namespace msitx
