// OwningPtr: a pointer plus one byte saying whether the holder deletes the object. A plane holds
// its implementation this way, the screen its back buffer and the key mapper its devices, so an
// object can be lent to a holder without giving it away.
#pragma once

#include <cstdint>

template <class T>
class OwningPtr {
public:
    OwningPtr() = default;  // holds nothing
    // Holds the object, deleting it at the end when owned.
    OwningPtr(T* object, bool owned) : object_(object), owned_(object && owned ? 1 : 0) {}
    ~OwningPtr() { Reset(); }  // deletes the object if owned
    OwningPtr(const OwningPtr&) = delete;
    OwningPtr& operator=(const OwningPtr&) = delete;

    // Deletes the current object if owned, then holds the new one.
    void Reset(T* object = nullptr, bool owned = true)
    {
        T* old = object_;
        const bool deleteOld = owned_ && old != object;
        object_ = object;
        owned_ = object && owned ? 1 : 0;
        if (deleteOld) delete old;
    }

    // Gives the object up without deleting it.
    T* Detach()
    {
        T* object = object_;
        object_ = nullptr;
        owned_ = 0;
        return object;
    }

    // The object, or null.
    T* Get() const { return object_; }
    T* operator->() const { return object_; }  // the object's members
    T& operator*() const { return *object_; }  // the object
    explicit operator bool() const { return object_ != nullptr; }  // whether an object is held
    // Whether the holder deletes the object.
    bool IsOwned() const { return owned_ != 0; }

private:
    T* object_ = nullptr;
    uint8_t owned_ = 0;
};
