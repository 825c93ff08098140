// Writes a Windows Installer transform: an OLE compound file with the
// transform class id, its own string pool, one stream per changed table
// (records with the column mask), the streams of changed binary fields and
// the transform summary information that says which packages it fits.
#pragma once

#include "TransformDiff.h"

#include <string>

namespace msitx {

// Validation and error-condition flags of the transform summary.
enum : unsigned {
  kErrorChangeCodepage = 0x0020,
  kValidateLanguage = 0x0001,
  kValidateProduct = 0x0002,
  kValidateMajorVersion = 0x0008,
  kValidateUpgradeCode = 0x0800,
};

// MSI stream-name encoding: pairs of name characters packed into one UTF-16
// unit; table streams carry a marker unit in front. Returns UTF-8.
std::string encodeStreamName(const std::string &name, bool table);

// The code page the transform's strings are written in: the target's, else
// the base's, else Western (1252).
int transformCodepage(const MsiTables &base, const MsiTables &target);

// Writes the transform to path (complete or not at all). False with error on failure.
bool writeTransform(const MsiTables &base, const MsiTables &target, const std::vector<TableChanges> &changes,
                    const std::string &path, std::string &error);

}  // namespace msitx
