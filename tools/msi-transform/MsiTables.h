// Reading an MSI database through libmsi into plain values: its tables, their
// columns with the type bits Windows Installer stores, their rows, its code
// page and the summary facts a transform describes.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

typedef struct _LibmsiDatabase LibmsiDatabase;

namespace msitx {

// Column type bits as the database engine keeps them.
enum : int {
  kTypeWidthMask = 0x00ff,
  kTypeValid = 0x0100,
  kTypeLocalizable = 0x0200,
  kTypeString = 0x0800,
  kTypeNullable = 0x1000,
  kTypeKey = 0x2000,
};

inline bool isBinary(int type) { return (type & ~kTypeNullable & ~kTypeKey) == (kTypeString | kTypeValid); }
inline bool isString(int type) { return (type & kTypeString) != 0 && !isBinary(type); }

struct Column {
  std::string name;
  int type = 0;             // kType* bits and the width
  std::string descriptor;   // the short form used in exports: s72, L255, I2, V0 ...
};

// One field: null, an integer, text (UTF-8) or stream bytes.
struct Value {
  enum Kind { Null, Int, Text, Stream } kind = Null;
  int number = 0;
  std::string bytes;
  bool operator==(const Value &) const = default;
};

using Row = std::vector<Value>;

struct Table {
  std::string name;
  std::vector<Column> columns;
  size_t keyCount = 0;                 // the key columns lead
  std::map<std::string, Row> rows;     // by the encoded primary key
};

struct Summary {
  std::string templ;                   // "Intel;1033"
  std::string packageCode;
  int pageCount = 0;                   // minimum installer version
};

// Text of a row's key, unique per table; also the order rows are written in.
std::string keyOf(const Table &table, const Row &row);
// A field as the text Windows Installer shows for it (keys in stream names).
std::string displayText(const Value &value);

class MsiTables {
public:
  // Opens read-only. On failure returns nothing and sets error.
  static std::optional<MsiTables> open(const std::string &path, std::string &error);
  // Reads an already open database (for example one a transform was applied to).
  static std::optional<MsiTables> read(LibmsiDatabase *db, const std::string &label, std::string &error);

  std::map<std::string, Table> tables;
  int codepage = 0;
  Summary summary;
  std::string property(const std::string &name) const;
};

}  // namespace msitx
