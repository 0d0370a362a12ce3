#pragma once
// Pointers to objects the renderer owns (textures, sprites, sprite grids, meshes, models)
// kept by windows, tables and caches that outlive a renderer restart. When the renderer
// frees its objects it empties every such pointer, so a holder finds null and makes its
// objects again instead of drawing with freed ones.
//
// Each non-empty ref is linked into one list that the renderer walks on release; copies
// link themselves, so refs may live in arrays and records that are copied. The renderer
// and its holders live on the main thread only.
class RendererRefBase {
public:
    RendererRefBase() = default;
    RendererRefBase(const RendererRefBase& other) { Reset(other.object_); }
    RendererRefBase& operator=(const RendererRefBase& other) {
        Reset(other.object_);
        return *this;
    }
    ~RendererRefBase() { Reset(nullptr); }

    // Empties every ref that holds an object; the renderer calls it as it frees them.
    static void ReleaseAll();
    // How many refs hold an object now.
    static int HeldCount();

protected:
    void Reset(void* object);
    void* object_ = nullptr;

private:
    void Link();
    void Unlink();

    RendererRefBase* previous_ = nullptr;
    RendererRefBase* next_ = nullptr;
};

template <class T>
class RendererRef : public RendererRefBase {
public:
    RendererRef() = default;
    RendererRef(T* object) { Reset(object); }  // NOLINT: stands in for a plain pointer
    RendererRef& operator=(T* object) {
        Reset(object);
        return *this;
    }
    T* Get() const { return static_cast<T*>(object_); }
    operator T*() const { return Get(); }  // NOLINT: reads as a plain pointer
    T* operator->() const { return Get(); }
};

// A flag a holder sets once it has made its renderer objects; the renderer's release
// clears it, telling the holder to make them again.
class RendererMark : public RendererRefBase {
public:
    void Set() { Reset(this); }
    void Clear() { Reset(nullptr); }
    bool IsSet() const { return object_ != nullptr; }
};
