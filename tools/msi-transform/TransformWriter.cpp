#include "TransformWriter.h"

#include <gsf/gsf.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <map>
#include <memory>
#include <unistd.h>

namespace msitx {
namespace {

int mimeIndex(char32_t c) {
  if (c >= '0' && c <= '9') return static_cast<int>(c - '0');
  if (c >= 'A' && c <= 'Z') return static_cast<int>(c - 'A' + 10);
  if (c >= 'a' && c <= 'z') return static_cast<int>(c - 'a' + 36);
  if (c == '.') return 62;
  if (c == '_') return 63;
  return -1;
}

void putUtf8(std::string &out, char32_t c) {
  gchar buf[8];
  int n = g_unichar_to_utf8(static_cast<gunichar>(c), buf);
  out.append(buf, static_cast<size_t>(n));
}

void put16(std::string &out, unsigned v) {
  out += static_cast<char>(v & 0xff);
  out += static_cast<char>((v >> 8) & 0xff);
}
void put32(std::string &out, unsigned v) {
  put16(out, v & 0xffff);
  put16(out, v >> 16);
}
void putN(std::string &out, unsigned v, unsigned bytes) {
  for (unsigned i = 0; i < bytes; ++i) out += static_cast<char>((v >> (8 * i)) & 0xff);
}

// The transform's string pool: ids from 1 in first-use order, with the
// number of references each string has in this transform.
class StringPool {
public:
  explicit StringPool(bool wide) : wide_(wide) {}
  unsigned idOf(const std::string &text) {
    if (text.empty()) return 0;
    auto it = ids_.find(text);
    if (it != ids_.end()) {
      ++refs_[it->second - 1];
      return it->second;
    }
    strings_.push_back(text);
    refs_.push_back(1);
    return ids_[text] = static_cast<unsigned>(strings_.size());
  }
  // Bytes per string reference in the table streams.
  unsigned refBytes() const { return wide_ ? 3 : 2; }
  bool needsWide() const { return strings_.size() >= 0xffff; }
  size_t size() const { return strings_.size(); }

  bool serialize(int codepage, std::string &pool, std::string &data, std::string &error) const {
    GIConv conv = gsf_msole_iconv_open_codepage_for_export(codepage);
    put16(pool, codepage & 0xffff);
    put16(pool, ((codepage >> 16) & 0x7fff) | (refBytes() == 3 ? 0x8000 : 0));
    bool ok = true;
    for (size_t i = 0; i < strings_.size() && ok; ++i) {
      gsize written = 0;
      GError *err = nullptr;
      gchar *bytes = g_convert_with_iconv(strings_[i].c_str(), -1, conv, nullptr, &written, &err);
      if (!bytes) {
        error = "the text \"" + strings_[i] + "\" cannot be written in code page " + std::to_string(codepage);
        if (err) g_error_free(err);
        ok = false;
        break;
      }
      if (written > 0xffff) {
        error = "a text of " + std::to_string(written) + " bytes is longer than a transform string may be";
        ok = false;
      } else {
        put16(pool, static_cast<unsigned>(written));
        put16(pool, refs_[i] > 0xffff ? 0xffff : refs_[i]);
        data.append(bytes, written);
      }
      g_free(bytes);
    }
    g_iconv_close(conv);
    return ok;
  }

private:
  bool wide_;
  std::vector<std::string> strings_;
  std::vector<unsigned> refs_;
  std::map<std::string, unsigned> ids_;
};

struct Streams {
  std::vector<std::pair<std::string, std::string>> list;  // encoded name, bytes
};

std::string streamNameOf(const Table &t, const Row &row) {
  std::string name = t.name;
  for (size_t i = 0; i < t.keyCount; ++i) name += "." + displayText(row[i]);
  return name;
}

void putField(std::string &out, const Table &t, const Row &row, size_t i, StringPool &pool, Streams &streams) {
  const Column &col = t.columns[i];
  const Value &v = row[i];
  if (isBinary(col.type)) {
    put16(out, v.kind == Value::Stream ? 1 : 0);
    if (v.kind == Value::Stream) streams.list.emplace_back(encodeStreamName(streamNameOf(t, row), false), v.bytes);
  } else if (col.type & kTypeString) {
    putN(out, pool.idOf(v.kind == Value::Text ? v.bytes : std::string()), pool.refBytes());
  } else if ((col.type & kTypeWidthMask) <= 2) {
    put16(out, v.kind == Value::Int ? (static_cast<unsigned>(v.number) + 0x8000u) & 0xffff : 0);
  } else {
    put32(out, v.kind == Value::Int ? static_cast<unsigned>(v.number) ^ 0x80000000u : 0);
  }
}

// A table stream: per change a 16-bit mask and then the fields it names.
// Mask 0: delete (keys only). Low bit set: the first (mask >> 8) columns in
// full (an insert, or an update of a column a bit mask cannot reach).
// Otherwise: bit i = column i present; keys are always present.
std::string tableStream(const TableChanges &tc, StringPool &pool, Streams &streams) {
  const Table &t = *tc.table;
  const size_t n = t.columns.size();
  std::string out;
  for (const RowChange &c : tc.changes) {
    if (c.kind == RowChange::Delete) {
      put16(out, 0);
      for (size_t i = 0; i < t.keyCount; ++i) putField(out, t, c.row, i, pool, streams);
      continue;
    }
    unsigned mask = 0;
    bool full = c.kind == RowChange::Insert;
    if (c.kind == RowChange::Update)
      for (size_t i = 0; i < n; ++i)
        if (c.changed[i]) {
          if (i >= 16) full = true;
          else mask |= 1u << i;
        }
    if (c.kind == RowChange::Insert && n <= 16) {
      // A stream that is null cannot be read back from the transform; an
      // insert with one names its present columns instead of all of them.
      for (size_t i = t.keyCount; i < n; ++i)
        if (isBinary(t.columns[i].type) && c.row[i].kind == Value::Null) full = false;
      if (!full)
        for (size_t i = t.keyCount; i < n; ++i)
          if (c.row[i].kind != Value::Null) mask |= 1u << i;
    }
    if (full) {
      put16(out, 1u | static_cast<unsigned>(n << 8));
      for (size_t i = 0; i < n; ++i) putField(out, t, c.row, i, pool, streams);
    } else {
      put16(out, mask);
      for (size_t i = 0; i < n; ++i)
        if (i < t.keyCount || (mask & (1u << i))) putField(out, t, c.row, i, pool, streams);
    }
  }
  return out;
}

// The summary information property set with the transform's properties.
std::string summaryStream(const std::vector<std::pair<unsigned, std::string>> &strings,
                          const std::vector<std::pair<unsigned, int>> &ints, int codepage) {
  struct Prop { unsigned id; std::string value; };
  std::vector<Prop> props;
  std::string v;
  put32(v, 2);  // VT_I2
  put16(v, static_cast<unsigned>(codepage));
  put16(v, 0);
  props.push_back({1, v});
  for (auto &[id, text] : strings) {
    v.clear();
    put32(v, 30);  // VT_LPSTR
    put32(v, static_cast<unsigned>(text.size() + 1));
    v += text;
    v += '\0';
    while (v.size() % 4) v += '\0';
    props.push_back({id, v});
  }
  for (auto &[id, number] : ints) {
    v.clear();
    put32(v, 3);  // VT_I4
    put32(v, static_cast<unsigned>(number));
    props.push_back({id, v});
  }
  std::string section;
  unsigned offset = 8 + 8 * static_cast<unsigned>(props.size());
  std::string values;
  std::string index;
  for (auto &p : props) {
    put32(index, p.id);
    put32(index, offset + static_cast<unsigned>(values.size()));
    values += p.value;
  }
  put32(section, offset + static_cast<unsigned>(values.size()));
  put32(section, static_cast<unsigned>(props.size()));
  section += index + values;

  static const unsigned char fmtid[16] = {0xE0, 0x85, 0x9F, 0xF2, 0xF9, 0x4F, 0x68, 0x10,
                                          0xAB, 0x91, 0x08, 0x00, 0x2B, 0x27, 0xB3, 0xD9};
  std::string out;
  put16(out, 0xFFFE);
  put16(out, 0);
  put32(out, 0x00020006);
  out.append(16, '\0');
  put32(out, 1);
  out.append(reinterpret_cast<const char *>(fmtid), 16);
  put32(out, 48);
  return out + section;
}

std::string platformOf(const std::string &templ) { return templ.substr(0, templ.find(';')); }

bool writeStorage(const std::string &path, const std::vector<std::pair<std::string, std::string>> &streams,
                  std::string &error) {
  static const guint8 clsid[16] = {0x82, 0x10, 0x0C, 0x00, 0x00, 0x00, 0x00, 0x00,
                                   0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46};
  GError *err = nullptr;
  GsfOutput *sink = gsf_output_stdio_new(path.c_str(), &err);
  if (!sink) {
    error = "cannot write " + path + ": " + (err ? err->message : "unknown error");
    if (err) g_error_free(err);
    return false;
  }
  GsfOutfile *ole = gsf_outfile_msole_new(sink);
  gsf_outfile_msole_set_class_id(GSF_OUTFILE_MSOLE(ole), clsid);
  bool ok = true;
  for (auto &[name, bytes] : streams) {
    GsfOutput *child = gsf_outfile_new_child(ole, name.c_str(), FALSE);
    ok = ok && child && gsf_output_write(child, bytes.size(), reinterpret_cast<const guint8 *>(bytes.data()));
    if (child) {
      ok = gsf_output_close(child) && ok;
      g_object_unref(child);
    }
  }
  // Closing the compound file writes its directory and closes the sink.
  ok = gsf_output_close(GSF_OUTPUT(ole)) && ok;
  g_object_unref(ole);
  g_object_unref(sink);
  if (!ok) error = "cannot write " + path;
  return ok;
}

}  // namespace

std::string encodeStreamName(const std::string &name, bool table) {
  std::string out;
  if (table) putUtf8(out, 0x4840);
  std::u32string in;
  for (const gchar *p = name.c_str(); *p; p = g_utf8_next_char(p)) in += static_cast<char32_t>(g_utf8_get_char(p));
  for (size_t i = 0; i < in.size(); ++i) {
    int a = mimeIndex(in[i]);
    if (a < 0) {
      putUtf8(out, in[i]);
      continue;
    }
    int b = i + 1 < in.size() ? mimeIndex(in[i + 1]) : -1;
    if (b >= 0) {
      putUtf8(out, static_cast<char32_t>(0x3800 + a + (b << 6)));
      ++i;
    } else {
      putUtf8(out, static_cast<char32_t>(0x4800 + a));
    }
  }
  return out;
}

int transformCodepage(const MsiTables &base, const MsiTables &target) {
  if (target.codepage) return target.codepage;
  if (base.codepage) return base.codepage;
  return 1252;
}

bool writeTransform(const MsiTables &base, const MsiTables &target, const std::vector<TableChanges> &changes,
                    const std::string &path, std::string &error) {
  // Two passes: the width of a string reference depends on the size of the
  // pool, known only after every record has named its strings.
  StringPool probe(false);
  Streams ignored;
  for (auto &tc : changes) tableStream(tc, probe, ignored);
  StringPool pool(probe.needsWide());
  Streams binaries;
  std::vector<std::string> tables;
  for (auto &tc : changes) tables.push_back(tableStream(tc, pool, binaries));
  std::vector<std::pair<std::string, std::string>> streams;
  const int codepage = transformCodepage(base, target);
  std::string poolBytes, dataBytes;
  if (!pool.serialize(codepage, poolBytes, dataBytes, error)) return false;

  auto name = [](const std::string &n) { return encodeStreamName(n, true); };
  streams.emplace_back(name("_StringPool"), poolBytes);
  streams.emplace_back(name("_StringData"), dataBytes);
  for (size_t i = 0; i < changes.size(); ++i) streams.emplace_back(name(changes[i].table->name), tables[i]);
  for (auto &s : binaries.list) {
    if (g_utf8_strlen(s.first.c_str(), -1) > 31) {
      error = "the stream name of a changed binary field is too long for a transform";
      return false;
    }
    streams.push_back(s);
  }

  // Which packages the transform fits: the base's product code, version
  // and upgrade code, the target's after it; language and platform of both.
  std::string upgrade = base.property("UpgradeCode");
  std::string product = base.property("ProductCode") + base.property("ProductVersion") + ";" +
                        target.property("ProductCode") + target.property("ProductVersion");
  if (!upgrade.empty()) product += ";" + upgrade;
  // Character count: validation flags in the high word, error conditions
  // to suppress in the low word. A change of code page (a Japanese target
  // over a Western base) is such a condition. Wine 8 reads the low word as
  // the validation flags of a transform embedded in a package (":name") and
  // refuses one with the code page flag; transforms passed as files, as the
  // launcher passes them, it applies without that check.
  unsigned validate = kValidateLanguage | kValidateProduct | kValidateMajorVersion;
  if (!upgrade.empty()) validate |= kValidateUpgradeCode;
  unsigned suppress = (base.codepage != target.codepage) ? unsigned{kErrorChangeCodepage} : 0u;
  int installer = std::max(base.summary.pageCount, target.summary.pageCount);
  streams.emplace_back("\005SummaryInformation",
                       summaryStream({{2, "Transform"},
                                      {7, base.summary.templ},
                                      {8, target.summary.templ.empty() ? platformOf(base.summary.templ) : target.summary.templ},
                                      {9, product},
                                      {18, "Orvane msi-transform"}},
                                     {{14, installer ? installer : 200}, {16, static_cast<int>((validate << 16) | suppress)}},
                                     1252));

  std::string partial = path + ".partial";
  if (!writeStorage(partial, streams, error)) {
    unlink(partial.c_str());
    return false;
  }
  if (std::rename(partial.c_str(), path.c_str()) != 0) {
    unlink(partial.c_str());
    error = "cannot write " + path;
    return false;
  }
  return true;
}

}  // namespace msitx
