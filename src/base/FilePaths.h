#pragma once
// Folder and file paths as the launcher builds them: parsed into a root
// (empty, a drive "C:" or a server "\\server"), an absolute flag and folder
// names. Backslash and slash both separate; empty names are dropped; ".."
// removes the name before it. Portable (no Windows header).
#include <string>
#include <vector>

class VEZAFolderPath {
public:
    VEZAFolderPath() = default;
    explicit VEZAFolderPath(const std::wstring& text);

    bool IsValid() const { return valid_; }
    bool IsAbsolute() const { return absolute_; }
    const std::wstring& Root() const { return root_; }
    const std::vector<std::wstring>& Names() const { return names_; }
    // The root, a backslash and the names joined with backslashes.
    std::wstring Text() const;
    // Appends a relative path; an absolute one replaces this path.
    void Append(const VEZAFolderPath& other);

private:
    std::wstring root_;
    bool absolute_ = false;
    bool valid_ = true;
    std::vector<std::wstring> names_;
};

class VEZAFilePath {
public:
    VEZAFilePath() = default;
    explicit VEZAFilePath(const std::wstring& text);
    // A name holding separators moves its folder part into the folder.
    VEZAFilePath(const VEZAFolderPath& folder, const std::wstring& name);

    const VEZAFolderPath& Folder() const { return folder_; }
    const std::wstring& FileName() const { return fileName_; }
    std::wstring BaseName() const;
    std::wstring Extension() const;  // without the dot; empty when there is none
    std::wstring Text() const;
    bool IsValid() const { return folder_.IsValid() && !fileName_.empty(); }

private:
    VEZAFolderPath folder_;
    std::wstring fileName_;
};
