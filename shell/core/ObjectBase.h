// The shell side of every host object: a ledger record, an internal reference count and the
// rule for when memory may go. Objects are never deleted before the whole object space:
// when the last reference goes an object frees its payload (pixels, references to others)
// and stays behind as a small tombstone, so a second Release from the applet is caught and
// reported instead of touching freed memory.
#pragma once

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "host/Object.h"
#include "shell/core/Ledger.h"

namespace shell {

class ObjectSpace;

class ObjectBase {
public:
    ObjectBase(ObjectSpace& space, const char* kind, std::string label = {},
               bool siteOwned = false);
    virtual ~ObjectBase() = default;
    ObjectBase(const ObjectBase&) = delete;
    ObjectBase& operator=(const ObjectBase&) = delete;

    int Id() const { return id_; }
    const char* Kind() const { return kind_; }
    ObjectSpace& Space() const { return space_; }
    std::string Name() const { return std::string(kind_) + "#" + std::to_string(id_); }

    // An internal reference (a stage holding a sprite, a sprite its animation, ...).
    void Retain() { ++references_; }
    void Drop();
    // A reference given to the applet: counted in the ledger too.
    void HandOut();
    // The applet's Release(): gives back one of its references.
    void ReleaseByApplet();
    bool Disposed() const { return disposed_; }

protected:
    // Called once when the last reference goes: free the payload and drop references held.
    virtual void OnDisposed() {}

private:
    ObjectSpace& space_;
    const char* kind_;
    int id_;
    int references_ = 0;
    bool disposed_ = false;
};

// Implements the contract's Release() for an interface I.
template <class I>
class HostObject : public I, public ObjectBase {
public:
    HostObject(ObjectSpace& space, const char* kind, std::string label = {},
               bool siteOwned = false)
        : ObjectBase(space, kind, std::move(label), siteOwned) {}
    void Release() override { ReleaseByApplet(); }
};

// Owns every object and the ledger.
class ObjectSpace {
public:
    ObjectSpace() = default;
    ~ObjectSpace();
    ObjectSpace(const ObjectSpace&) = delete;
    ObjectSpace& operator=(const ObjectSpace&) = delete;

    // Makes an object; the caller gets one internal reference (HandOut turns it into the
    // applet's, see Give).
    template <class T, class... Args>
    T* Make(Args&&... args) {
        auto object = std::make_unique<T>(*this, std::forward<Args>(args)...);
        T* raw = object.get();
        objects_.push_back(std::move(object));
        raw->Retain();
        return raw;
    }

    // Calls `visit` with every object of type T that is still in use.
    template <class T, class F>
    void ForEachLive(F visit) {
        for (const auto& object : objects_) {
            if (object->Disposed()) continue;
            if (T* t = dynamic_cast<T*>(object.get())) visit(*t);
        }
    }

    Ledger& GetLedger() { return ledger_; }
    // While the space is being destroyed references no longer matter.
    bool Closing() const { return closing_; }
    size_t ObjectCount() const { return objects_.size(); }

private:
    Ledger ledger_;
    std::vector<std::unique_ptr<ObjectBase>> objects_;
    bool closing_ = false;
};

// Turns the creator's internal reference into the applet's reference and returns the object.
template <class T>
T* Give(T* object) {
    if (object == nullptr) return nullptr;
    object->HandOut();
    object->Drop();
    return object;
}

// The shell object behind a contract pointer the applet passed in, or null.
template <class T>
T* As(const host::Object* object) {
    return object == nullptr ? nullptr : dynamic_cast<T*>(const_cast<host::Object*>(object));
}

}  // namespace shell
