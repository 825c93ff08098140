#include "engine/CabinetExtractor.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <mutex>

#include "engine/CancelFlag.h"
#include "base/ResourceAccess.h"

namespace {

// State of the one cabinet run in progress, shared with the callbacks.
const uint8_t* cabinetBytes = nullptr;  // the cabinet itself, after the length field
uint32_t cabinetLength = 0;
bool haveMemoryCabinet = false;
VEZACabinetProgressCallbacks* currentSink = nullptr;
bool diskFull = false;
bool writeFailed = false;  // any output write of the run in progress

// What a callback handle stands for: a real file or a reading position in the
// in-memory cabinet.
struct Stream {
    bool memory = false;
    HANDLE file = INVALID_HANDLE_VALUE;
    const uint8_t* bytes = nullptr;
    uint32_t length = 0;
    int64_t position = 0;
    VEZACabinetProgressCallbacks* sink = nullptr;
};

std::mutex tableLock;
std::map<INT_PTR, Stream> streams;
INT_PTR nextHandle = 1;

INT_PTR Register(const Stream& stream) {
    std::lock_guard<std::mutex> guard(tableLock);
    const INT_PTR handle = nextHandle++;
    streams[handle] = stream;
    return handle;
}

// The entry of a handle; entries stay where they are until closed, and only
// the thread of the cabinet run uses them.
Stream* Find(INT_PTR handle) {
    std::lock_guard<std::mutex> guard(tableLock);
    const auto it = streams.find(handle);
    return it == streams.end() ? nullptr : &it->second;
}

std::string Ansi(const std::wstring& text) {
    if (text.empty()) return {};
    const int size = ::WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<size_t>(size), '\0');
    ::WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), out.data(), size, nullptr, nullptr);
    return out;
}

void* DIAMONDAPI Allocate(ULONG size) { return std::malloc(size); }
void DIAMONDAPI Release(void* block) { std::free(block); }

INT_PTR DIAMONDAPI Notify(FDINOTIFICATIONTYPE type, PFDINOTIFICATION info) {
    auto* extractor = static_cast<VEZACabinetExtractor*>(info->pv);
    switch (type) {
    case fdintCOPY_FILE: {
        if (CancelRequested()) return -1;
        // Only the entry's name counts: whatever folder the cabinet names,
        // the file lands directly in the destination.
        std::string name = info->psz1 ? info->psz1 : "";
        const size_t cut = name.find_last_of("\\/");
        if (cut != std::string::npos) name.erase(0, cut + 1);
        if (name.empty() || name == "." || name == "..") return 0;
        const std::string path = extractor->Destination() + "\\" + name;
        const HANDLE file = ::CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_WRITE, nullptr, CREATE_ALWAYS,
                                          FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file == INVALID_HANDLE_VALUE) return 0;
        Stream stream;
        stream.file = file;
        const INT_PTR handle = Register(stream);
        extractor->NoteCreatedFile(path, handle);
        return handle;
    }
    case fdintCLOSE_FILE_INFO: {
        if (const Stream* stream = Find(info->hf); stream && !stream->memory) {
            FILETIME local, utc;
            if (::DosDateTimeToFileTime(info->date, info->time, &local) && ::LocalFileTimeToFileTime(&local, &utc)) {
                ::SetFileTime(stream->file, &utc, nullptr, nullptr);
            }
        }
        cabinet_io::Close(info->hf);
        extractor->NoteFinishedFile(info->hf);
        return TRUE;
    }
    default:
        return 0;
    }
}

}  // namespace

namespace cabinet_io {

INT_PTR DIAMONDAPI Open(char* name, int flags, int permissions) {
    const bool create = (flags & _O_CREAT) != 0;
    if (!create && haveMemoryCabinet) {
        Stream stream;
        stream.memory = true;
        stream.bytes = cabinetBytes;
        stream.length = cabinetLength;
        stream.sink = currentSink;
        return Register(stream);
    }
    DWORD access = 0;
    switch (flags & (_O_RDONLY | _O_WRONLY | _O_RDWR)) {
    case _O_WRONLY: access = GENERIC_WRITE; break;
    case _O_RDWR: access = GENERIC_READ | GENERIC_WRITE; break;
    default: access = GENERIC_READ; break;
    }
    // The permission bits describe a file being created; an existing
    // cabinet is only read, so a read-only medium serves as well.
    DWORD share = create ? 0 : FILE_SHARE_READ;
    if (create && (permissions & _S_IREAD)) {
        access |= GENERIC_READ;
        share |= FILE_SHARE_READ;
    }
    if (create && (permissions & _S_IWRITE)) {
        access |= GENERIC_WRITE;
        share |= FILE_SHARE_WRITE;
    }
    const HANDLE file = ::CreateFileA(name, access, share, nullptr, create ? CREATE_ALWAYS : OPEN_EXISTING,
                                      FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return 0;
    Stream stream;
    stream.file = file;
    return Register(stream);
}

UINT DIAMONDAPI Read(INT_PTR handle, void* buffer, UINT count) {
    if (CancelRequested()) return static_cast<UINT>(-1);
    Stream* stream = Find(handle);
    if (!stream) return static_cast<UINT>(-1);
    if (!stream->memory) {
        DWORD done = 0;
        return ::ReadFile(stream->file, buffer, count, &done, nullptr) ? done : static_cast<UINT>(-1);
    }
    const int64_t left = stream->position < stream->length ? stream->length - stream->position : 0;
    const UINT n = static_cast<UINT>(std::min<int64_t>(left, count));
    if (n) std::memcpy(buffer, stream->bytes + stream->position, n);
    stream->position += n;
    if (stream->sink) {
        stream->sink->progress(static_cast<int>(stream->position));
        if (stream->length) stream->sink->percent(static_cast<int>(stream->position * 100 / stream->length));
    }
    return n;
}

UINT DIAMONDAPI Write(INT_PTR handle, void* buffer, UINT count) {
    Stream* stream = Find(handle);
    if (!stream || stream->memory) return 0;
    DWORD done = 0;
    if (!::WriteFile(stream->file, buffer, count, &done, nullptr) || done != count) {
        writeFailed = true;
        const DWORD error = ::GetLastError();
        if (error == ERROR_DISK_FULL || error == ERROR_HANDLE_DISK_FULL) diskFull = true;
    }
    return done;
}

long DIAMONDAPI Seek(INT_PTR handle, long distance, int origin) {
    Stream* stream = Find(handle);
    if (!stream) return -1;
    if (!stream->memory) {
        const DWORD method = origin == SEEK_CUR ? FILE_CURRENT : origin == SEEK_END ? FILE_END : FILE_BEGIN;
        const DWORD position = ::SetFilePointer(stream->file, distance, nullptr, method);
        return position == INVALID_SET_FILE_POINTER ? -1 : static_cast<long>(position);
    }
    int64_t position = distance;
    if (origin == SEEK_CUR) position = stream->position + distance;
    if (origin == SEEK_END) position = static_cast<int64_t>(stream->length) + distance;
    if (position < 0) return -1;  // before the start: the position stays
    stream->position = position;
    return static_cast<long>(position);
}

int DIAMONDAPI Close(INT_PTR handle) {
    std::lock_guard<std::mutex> guard(tableLock);
    const auto it = streams.find(handle);
    if (it == streams.end()) return -1;
    if (!it->second.memory) ::CloseHandle(it->second.file);
    streams.erase(it);
    return 0;
}

}  // namespace cabinet_io

bool VEZACabinetExtractor::CreateContext() {
    context_ = ::FDICreate(Allocate, Release, cabinet_io::Open, cabinet_io::Read, cabinet_io::Write, cabinet_io::Close,
                           cabinet_io::Seek, cpuUNKNOWN, &error_);
    return context_ != nullptr;
}

bool VEZACabinetExtractor::OpenResource(const std::string& cabinetName, const std::wstring& resourceName,
                                        const std::wstring& destination, HMODULE module) {
    Close();
    diskFull = false;
    cabinetFolder_.clear();
    cabinetName_ = cabinetName;
    destination_ = Ansi(destination);
    resourceName_ = resourceName;
    if (!CreateContext()) return false;
    const ResourceModule resources(module ? module : ::GetModuleHandleW(nullptr));
    if (!resources.Exists(kResourceTypeCatalogue, resourceName, L"")) return true;
    const auto view = resources.FindAnyLanguage(kResourceTypeCatalogue, resourceName, false);
    haveMemoryCabinet = true;
    cabinetBytes = nullptr;
    cabinetLength = 0;
    if (view && view->size() >= 4) {
        const uint8_t* data = view->data();
        const uint32_t length = data[0] | (data[1] << 8) | (data[2] << 16) | (static_cast<uint32_t>(data[3]) << 24);
        cabinetBytes = data + 4;
        // A length beyond the resource would read past its end.
        cabinetLength = static_cast<uint32_t>(std::min<size_t>(length, view->size() - 4));
    }
    return true;
}

bool VEZACabinetExtractor::OpenFile(const std::wstring& cabinetPath, const std::wstring& destination) {
    Close();
    diskFull = false;
    const size_t cut = cabinetPath.find_last_of(L"\\/");
    cabinetFolder_ = Ansi(cut == std::wstring::npos ? L"" : cabinetPath.substr(0, cut + 1));
    cabinetName_ = Ansi(cut == std::wstring::npos ? cabinetPath : cabinetPath.substr(cut + 1));
    destination_ = Ansi(destination);
    resourceName_.clear();
    return CreateContext();
}

bool VEZACabinetExtractor::ExtractAll(VEZACabinetProgressCallbacks* sink) {
    if (!context_) return false;
    created_.clear();
    currentSink = sink;
    writeFailed = false;
    // Some decompressors carry on after a write that failed; a file that was
    // not written completely fails the run all the same.
    const bool copied = ::FDICopy(context_, cabinetName_.data(), cabinetFolder_.data(), 0, Notify, nullptr, this) && !writeFailed;
    currentSink = nullptr;
    if (!copied) RemoveCreatedFiles();
    return copied;
}

void VEZACabinetExtractor::NoteCreatedFile(const std::string& path, INT_PTR handle) { created_.push_back({path, handle}); }

void VEZACabinetExtractor::NoteFinishedFile(INT_PTR handle) {
    for (CreatedFile& file : created_) {
        if (file.handle == handle) file.handle = 0;
    }
}

void VEZACabinetExtractor::RemoveCreatedFiles() {
    for (const CreatedFile& file : created_) {
        if (file.handle) cabinet_io::Close(file.handle);  // the library may leave it open when it gives up
        ::DeleteFileA(file.path.c_str());
    }
    created_.clear();
}

void VEZACabinetExtractor::Close() {
    if (!context_) return;
    ::FDIDestroy(context_);
    context_ = nullptr;
    haveMemoryCabinet = false;
    cabinetBytes = nullptr;
    cabinetLength = 0;
    currentSink = nullptr;
}

bool VEZACabinetExtractor::DiskFull() { return diskFull; }
