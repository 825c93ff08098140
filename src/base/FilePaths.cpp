#include "base/FilePaths.h"

namespace {

bool IsSeparator(wchar_t c) { return c == L'\\' || c == L'/'; }

bool IsDriveLetter(wchar_t c) { return (c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z'); }

}  // namespace

VEZAFolderPath::VEZAFolderPath(const std::wstring& text) {
    size_t i = 0;
    if (text.size() >= 2 && IsSeparator(text[0]) && IsSeparator(text[1])) {
        i = 2;
        while (i < text.size() && !IsSeparator(text[i])) ++i;
        root_ = L"\\\\" + text.substr(2, i - 2);
        absolute_ = true;
        valid_ = root_.size() > 2;
    } else if (text.size() >= 2 && IsDriveLetter(text[0]) && text[1] == L':') {
        root_ = text.substr(0, 2);
        i = 2;
        absolute_ = i < text.size() && IsSeparator(text[i]);
        valid_ = absolute_;
    } else {
        absolute_ = !text.empty() && IsSeparator(text[0]);
    }
    while (i < text.size()) {
        while (i < text.size() && IsSeparator(text[i])) ++i;
        size_t end = i;
        while (end < text.size() && !IsSeparator(text[end])) ++end;
        const std::wstring name = text.substr(i, end - i);
        i = end;
        if (name.empty() || name == L".") continue;
        if (name == L"..") {
            if (names_.empty()) {
                valid_ = false;
            } else {
                names_.pop_back();
            }
            continue;
        }
        names_.push_back(name);
    }
}

std::wstring VEZAFolderPath::Text() const {
    std::wstring text = root_;
    if (absolute_ || !root_.empty()) text += L'\\';
    for (size_t k = 0; k < names_.size(); ++k) {
        if (k) text += L'\\';
        text += names_[k];
    }
    return text;
}

void VEZAFolderPath::Append(const VEZAFolderPath& other) {
    if (other.absolute_ || !other.root_.empty()) {
        *this = other;
        return;
    }
    valid_ = valid_ && other.valid_;
    names_.insert(names_.end(), other.names_.begin(), other.names_.end());
}

VEZAFilePath::VEZAFilePath(const std::wstring& text) : VEZAFilePath(VEZAFolderPath(), text) {}

VEZAFilePath::VEZAFilePath(const VEZAFolderPath& folder, const std::wstring& name) : folder_(folder) {
    const size_t cut = name.find_last_of(L"\\/");
    if (cut == std::wstring::npos) {
        fileName_ = name;
        return;
    }
    folder_.Append(VEZAFolderPath(name.substr(0, cut + 1)));
    fileName_ = name.substr(cut + 1);
}

std::wstring VEZAFilePath::BaseName() const {
    const size_t dot = fileName_.rfind(L'.');
    return dot == std::wstring::npos ? fileName_ : fileName_.substr(0, dot);
}

std::wstring VEZAFilePath::Extension() const {
    const size_t dot = fileName_.rfind(L'.');
    return dot == std::wstring::npos ? std::wstring() : fileName_.substr(dot + 1);
}

std::wstring VEZAFilePath::Text() const {
    std::wstring folder = folder_.Text();
    if (folder.empty() || folder.back() == L'\\') return folder + fileName_;
    return folder + L"\\" + fileName_;
}
