#include "TransformDiff.h"

namespace msitx {
namespace {

std::string keyNames(const Table &t) {
  std::string out;
  for (size_t i = 0; i < t.keyCount; ++i) out += (i ? ", " : "") + t.columns[i].name;
  return out;
}

bool sameSchema(const Table &b, const Table &t, std::string &error) {
  const std::string where = "table `" + b.name + "`";
  for (const Column &c : b.columns) {
    bool found = false;
    for (const Column &d : t.columns) found = found || d.name == c.name;
    if (!found) {
      error = "column `" + b.name + "`.`" + c.name + "` exists only in the base";
      return false;
    }
  }
  for (const Column &c : t.columns) {
    bool found = false;
    for (const Column &d : b.columns) found = found || d.name == c.name;
    if (!found) {
      error = "column `" + t.name + "`.`" + c.name + "` exists only in the target";
      return false;
    }
  }
  if (keyNames(b) != keyNames(t)) {
    error = "the primary key of " + where + " changes from (" + keyNames(b) + ") to (" + keyNames(t) + ")";
    return false;
  }
  for (size_t i = 0; i < b.columns.size(); ++i) {
    if (b.columns[i].name != t.columns[i].name) {
      error = "the columns of " + where + " are in a different order";
      return false;
    }
    if (b.columns[i].type != t.columns[i].type) {
      error = "column `" + b.name + "`.`" + b.columns[i].name + "` changes its type from " +
              b.columns[i].descriptor + " to " + t.columns[i].descriptor;
      return false;
    }
  }
  return true;
}

}  // namespace

bool diffDatabases(const MsiTables &base, const MsiTables &target, std::vector<TableChanges> &changes,
                   std::string &error) {
  for (auto &[name, b] : base.tables)
    if (!target.tables.count(name)) {
      error = "table `" + name + "` exists only in the base";
      return false;
    }
  for (auto &[name, t] : target.tables)
    if (!base.tables.count(name)) {
      error = "table `" + name + "` exists only in the target";
      return false;
    }
  for (auto &[name, t] : target.tables) {
    const Table &b = base.tables.at(name);
    if (!sameSchema(b, t, error)) return false;
    TableChanges tc{&t, {}};
    for (auto &[key, row] : b.rows)
      if (!t.rows.count(key)) tc.changes.push_back({RowChange::Delete, row, {}});
    for (auto &[key, row] : t.rows) {
      auto old = b.rows.find(key);
      if (old == b.rows.end()) {
        tc.changes.push_back({RowChange::Insert, row, {}});
        continue;
      }
      std::vector<bool> changed(row.size(), false);
      bool any = false;
      for (size_t i = t.keyCount; i < row.size(); ++i) {
        changed[i] = !(row[i] == old->second[i]);
        any = any || changed[i];
      }
      if (any) tc.changes.push_back({RowChange::Update, row, changed});
    }
    if (!tc.changes.empty()) changes.push_back(std::move(tc));
  }
  return true;
}

}  // namespace msitx
