#pragma once
// Move-only owners for Windows handles. Each handle kind has a small traits
// struct that names its invalid value and how it is released.
#include <windows.h>
#include <utility>

namespace fw {

template <typename Traits>
class UniqueHandle {
public:
    using handle_type = typename Traits::type;

    UniqueHandle() noexcept : h_(Traits::invalid()) {}
    explicit UniqueHandle(handle_type h) noexcept : h_(h) {}
    ~UniqueHandle() { reset(); }

    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;
    UniqueHandle(UniqueHandle&& other) noexcept : h_(other.release()) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept {
        if (this != &other) reset(other.release());
        return *this;
    }

    handle_type get() const noexcept { return h_; }
    bool valid() const noexcept { return h_ != Traits::invalid(); }
    explicit operator bool() const noexcept { return valid(); }

    handle_type release() noexcept {
        handle_type h = h_;
        h_ = Traits::invalid();
        return h;
    }
    void reset(handle_type h = Traits::invalid()) noexcept {
        if (valid()) Traits::close(h_);
        h_ = h;
    }

private:
    handle_type h_;
};

struct FileHandleTraits {
    using type = HANDLE;
    static type invalid() noexcept { return INVALID_HANDLE_VALUE; }
    static void close(type h) noexcept { ::CloseHandle(h); }
};

// Kernel objects whose "no handle" value is null (threads, events, mutexes).
struct KernelHandleTraits {
    using type = HANDLE;
    static type invalid() noexcept { return nullptr; }
    static void close(type h) noexcept { ::CloseHandle(h); }
};

struct ModuleHandleTraits {
    using type = HMODULE;
    static type invalid() noexcept { return nullptr; }
    static void close(type h) noexcept { ::FreeLibrary(h); }
};

// GDI objects of one handle type (fonts, bitmaps, brushes).
template <typename Handle>
struct GdiObjectTraits {
    using type = Handle;
    static type invalid() noexcept { return nullptr; }
    static void close(type h) noexcept { ::DeleteObject(h); }
};

struct IconTraits {
    using type = HICON;
    static type invalid() noexcept { return nullptr; }
    static void close(type h) noexcept { ::DestroyIcon(h); }
};

// Windows destroyed with their owner (child controls).
struct WindowTraits {
    using type = HWND;
    static type invalid() noexcept { return nullptr; }
    static void close(type h) noexcept { ::DestroyWindow(h); }
};

using UniqueFile = UniqueHandle<FileHandleTraits>;
using UniqueKernelHandle = UniqueHandle<KernelHandleTraits>;
using UniqueModule = UniqueHandle<ModuleHandleTraits>;
template <typename Handle>
using UniqueGdiObject = UniqueHandle<GdiObjectTraits<Handle>>;
using UniqueIcon = UniqueHandle<IconTraits>;
using UniqueWindow = UniqueHandle<WindowTraits>;

}  // namespace fw
