#pragma once
// Unpacking a Microsoft cabinet with the system's decompression interface
// (cabinet.dll, FDI), either from a file or straight from a package resource:
// 4 bytes of little-endian length followed by the cabinet, read in place from
// the mapped module, never copied.
#include <windows.h>
#include <fdi.h>

#include <cstdint>
#include <string>
#include <vector>

// Where the bytes read from the current cabinet are reported.
class VEZACabinetProgressCallbacks {
public:
    virtual ~VEZACabinetProgressCallbacks() = default;
    // Share of the cabinet read so far, 0 to 100.
    virtual void percent(int share) = 0;
    // Bytes of the cabinet read so far.
    virtual void progress(int bytesRead) = 0;
    // The upper end of the caller's progress scale.
    virtual int maximum() = 0;
};

// One cabinet run. Only one extractor is open at a time in the process: the
// decompression callbacks share the in-memory cabinet, the progress sink and
// the disk-full flag.
class VEZACabinetExtractor {
public:
    VEZACabinetExtractor() = default;
    ~VEZACabinetExtractor() { Close(); }
    VEZACabinetExtractor(const VEZACabinetExtractor&) = delete;
    VEZACabinetExtractor& operator=(const VEZACabinetExtractor&) = delete;

    // The cabinet of a type-40 resource of module (in whatever language it is
    // stored). A missing resource leaves no in-memory cabinet, so the copy
    // then looks for a file of that cabinet name and fails.
    bool OpenResource(const std::string& cabinetName, const std::wstring& resourceName, const std::wstring& destination,
                      HMODULE module = nullptr);
    bool OpenFile(const std::wstring& cabinetPath, const std::wstring& destination);
    // Unpacks every file into the destination folder (entries keep only their
    // name, never their folder). A failed or cancelled run removes the files
    // it created, so that no partly written file is left behind.
    bool ExtractAll(VEZACabinetProgressCallbacks* sink);
    void Close();

    // Whether a write of the last run failed because the disk was full.
    static bool DiskFull();

    // Called by the notification callback for every file it creates.
    void NoteCreatedFile(const std::string& path, INT_PTR handle);
    void NoteFinishedFile(INT_PTR handle);
    const std::string& Destination() const { return destination_; }

private:
    bool CreateContext();
    void RemoveCreatedFiles();

    std::string cabinetFolder_;  // with its trailing separator; empty for a resource
    std::string cabinetName_;
    std::string destination_;
    std::wstring resourceName_;
    HFDI context_ = nullptr;
    ERF error_{};
    struct CreatedFile {
        std::string path;
        INT_PTR handle;  // 0 once the file is finished and closed
    };
    std::vector<CreatedFile> created_;
};

// The decompression callbacks, reachable for tests of the memory stream.
namespace cabinet_io {
INT_PTR DIAMONDAPI Open(char* name, int flags, int permissions);
UINT DIAMONDAPI Read(INT_PTR handle, void* buffer, UINT count);
UINT DIAMONDAPI Write(INT_PTR handle, void* buffer, UINT count);
long DIAMONDAPI Seek(INT_PTR handle, long distance, int origin);
int DIAMONDAPI Close(INT_PTR handle);
}  // namespace cabinet_io
