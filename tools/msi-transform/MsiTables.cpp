#include "MsiTables.h"

#include <libmsi.h>

#include <cstdio>
#include <fcntl.h>
#include <memory>
#include <unistd.h>

namespace msitx {
namespace {

template <typename T> struct GUnref { void operator()(T *p) const { if (p) g_object_unref(p); } };
template <typename T> using GPtr = std::unique_ptr<T, GUnref<T>>;
struct GErrorOwner {
  GError *error = nullptr;
  ~GErrorOwner() { if (error) g_error_free(error); }
  std::string text() const { return error && error->message ? error->message : "unknown error"; }
};
std::string takeString(gchar *s) {
  std::string out = s ? s : "";
  g_free(s);
  return out;
}

bool runQuery(LibmsiDatabase *db, const std::string &sql, std::vector<GPtr<LibmsiRecord>> &rows,
              GPtr<LibmsiQuery> *keep, std::string &error) {
  GErrorOwner err;
  GPtr<LibmsiQuery> query(libmsi_query_new(db, sql.c_str(), &err.error));
  if (!query || !libmsi_query_execute(query.get(), nullptr, &err.error)) {
    error = "query failed (" + sql + "): " + err.text();
    return false;
  }
  while (LibmsiRecord *rec = libmsi_query_fetch(query.get(), nullptr))
    rows.emplace_back(rec);
  if (keep) *keep = std::move(query);
  return true;
}

int typeFromDescriptor(const std::string &d, bool key) {
  if (d.empty()) return 0;
  int width = std::atoi(d.c_str() + 1);
  int type = kTypeValid | (width & kTypeWidthMask);
  char c = d[0];
  switch (c) {
    case 's': case 'S': type |= kTypeString; break;
    case 'l': case 'L': type |= kTypeString | kTypeLocalizable; break;
    case 'v': case 'V': type = kTypeString | kTypeValid; break;
    default: break;  // i, I: integers of 2 or 4 bytes
  }
  if (c >= 'A' && c <= 'Z') type |= kTypeNullable;
  if (key) type |= kTypeKey;
  return type;
}

bool readStream(LibmsiRecord *rec, unsigned field, std::string &out) {
  GPtr<GInputStream> in(libmsi_record_get_stream(rec, field));
  if (!in) return false;
  char buf[65536];
  for (;;) {
    gssize n = g_input_stream_read(in.get(), buf, sizeof buf, nullptr, nullptr);
    if (n < 0) return false;
    if (n == 0) return true;
    out.append(buf, static_cast<size_t>(n));
  }
}

int readCodepage(LibmsiDatabase *db) {
  char path[] = "/tmp/msi-transform-cp-XXXXXX";
  int fd = mkstemp(path);
  if (fd < 0) return 0;
  unlink(path);
  libmsi_database_export(db, "_ForceCodepage", fd, nullptr);
  std::string text;
  char buf[256];
  lseek(fd, 0, SEEK_SET);
  for (ssize_t n; (n = ::read(fd, buf, sizeof buf)) > 0;) text.append(buf, static_cast<size_t>(n));
  close(fd);
  // "\r\n\r\n<codepage>\t_ForceCodepage\r\n"
  size_t tab = text.find("\t_ForceCodepage");
  if (tab == std::string::npos) return 0;
  size_t start = text.find_last_of('\n', tab);
  return std::atoi(text.c_str() + (start == std::string::npos ? 0 : start + 1));
}

bool readTable(LibmsiDatabase *db, const std::string &name, Table &table, std::string &error) {
  table.name = name;
  GErrorOwner err;
  GPtr<LibmsiRecord> keys(libmsi_database_get_primary_keys(db, name.c_str(), &err.error));
  std::vector<std::string> keyNames;
  if (keys)
    for (unsigned i = 1; i <= libmsi_record_get_field_count(keys.get()); ++i)
      keyNames.push_back(takeString(libmsi_record_get_string(keys.get(), i)));

  std::vector<GPtr<LibmsiRecord>> rows;
  GPtr<LibmsiQuery> query;
  if (!runQuery(db, "SELECT * FROM `" + name + "`", rows, &query, error)) return false;
  GPtr<LibmsiRecord> names(libmsi_query_get_column_info(query.get(), LIBMSI_COL_INFO_NAMES, nullptr));
  GPtr<LibmsiRecord> types(libmsi_query_get_column_info(query.get(), LIBMSI_COL_INFO_TYPES, nullptr));
  if (!names || !types) {
    error = "cannot read the columns of table `" + name + "`";
    return false;
  }
  unsigned count = libmsi_record_get_field_count(names.get());
  for (unsigned i = 1; i <= count; ++i) {
    Column col;
    col.name = takeString(libmsi_record_get_string(names.get(), i));
    col.descriptor = takeString(libmsi_record_get_string(types.get(), i));
    bool key = false;
    for (auto &k : keyNames) key = key || k == col.name;
    col.type = typeFromDescriptor(col.descriptor, key);
    table.columns.push_back(col);
  }
  table.keyCount = keyNames.size();
  for (size_t i = 0; i < table.columns.size(); ++i) {
    bool key = (table.columns[i].type & kTypeKey) != 0;
    if (key != (i < table.keyCount)) {
      error = "table `" + name + "`: its primary key columns are not its leading columns";
      return false;
    }
  }
  for (auto &rec : rows) {
    Row row;
    for (unsigned i = 1; i <= count; ++i) {
      const Column &col = table.columns[i - 1];
      Value v;
      if (libmsi_record_is_null(rec.get(), i)) {
        if (isBinary(col.type)) {
          // A stream field reads as null through the record; ask for the data.
          std::string data;
          if (readStream(rec.get(), i, data)) {
            v.kind = Value::Stream;
            v.bytes = std::move(data);
          }
        }
      } else if (isBinary(col.type)) {
        v.kind = Value::Stream;
        if (!readStream(rec.get(), i, v.bytes)) {
          error = "cannot read the stream `" + name + "`.`" + col.name + "`";
          return false;
        }
      } else if (col.type & kTypeString) {
        v.kind = Value::Text;
        v.bytes = takeString(libmsi_record_get_string(rec.get(), i));
        if (v.bytes.empty()) v.kind = Value::Null;  // MSI keeps no empty strings
      } else {
        v.kind = Value::Int;
        v.number = libmsi_record_get_int(rec.get(), i);
      }
      row.push_back(std::move(v));
    }
    std::string key = keyOf(table, row);
    table.rows.emplace(std::move(key), std::move(row));
  }
  return true;
}

}  // namespace

std::string displayText(const Value &value) {
  switch (value.kind) {
    case Value::Int: return std::to_string(value.number);
    case Value::Text: return value.bytes;
    default: return "";
  }
}

std::string keyOf(const Table &table, const Row &row) {
  std::string key;
  for (size_t i = 0; i < table.keyCount && i < row.size(); ++i) {
    if (i) key += '\t';
    key += row[i].kind == Value::Null ? std::string("\x01") : displayText(row[i]);
  }
  return key;
}

std::string MsiTables::property(const std::string &name) const {
  auto t = tables.find("Property");
  if (t == tables.end()) return "";
  auto r = t->second.rows.find(name);
  return r == t->second.rows.end() || r->second.size() < 2 ? "" : displayText(r->second[1]);
}

std::optional<MsiTables> MsiTables::read(LibmsiDatabase *db, const std::string &label, std::string &error) {
  MsiTables out;
  std::vector<GPtr<LibmsiRecord>> names;
  if (!runQuery(db, "SELECT `Name` FROM `_Tables`", names, nullptr, error)) {
    error = label + ": " + error;
    return std::nullopt;
  }
  for (auto &rec : names) {
    std::string name = takeString(libmsi_record_get_string(rec.get(), 1));
    Table table;
    if (!readTable(db, name, table, error)) {
      error = label + ": " + error;
      return std::nullopt;
    }
    out.tables.emplace(name, std::move(table));
  }
  out.codepage = readCodepage(db);
  GErrorOwner err;
  GPtr<LibmsiSummaryInfo> si(libmsi_summary_info_new(db, 0, &err.error));
  if (si) {
    const gchar *t = libmsi_summary_info_get_string(si.get(), LIBMSI_PROPERTY_TEMPLATE, nullptr);
    const gchar *u = libmsi_summary_info_get_string(si.get(), LIBMSI_PROPERTY_UUID, nullptr);
    out.summary.templ = t ? t : "";
    out.summary.packageCode = u ? u : "";
    out.summary.pageCount = libmsi_summary_info_get_int(si.get(), LIBMSI_PROPERTY_VERSION, nullptr);
  }
  return out;
}

std::optional<MsiTables> MsiTables::open(const std::string &path, std::string &error) {
  if (access(path.c_str(), R_OK) != 0) {
    error = "cannot read " + path;
    return std::nullopt;
  }
  GErrorOwner err;
  GPtr<LibmsiDatabase> db(libmsi_database_new(path.c_str(), LIBMSI_DB_FLAGS_READONLY, nullptr, &err.error));
  if (!db) {
    error = path + " is not an MSI database";
    return std::nullopt;
  }
  return read(db.get(), path, error);
}

}  // namespace msitx
