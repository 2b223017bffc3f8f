// Intrusive reference counting: the count lives in the object (RefCnt), so every SmartPtr
// made from the same raw pointer shares it. The last SmartPtr to let go deletes the object.
// Single-threaded: counts are plain integers.
#pragma once

#include <cstdint>
#include <utility>

namespace RefCount {

class RefCnt {
 public:
  RefCnt() = default;
  RefCnt(const RefCnt&) : refCount(0) {}  // a copy is a new object with its own count
  RefCnt& operator=(const RefCnt&) { return *this; }
  virtual ~RefCnt() = default;

  int32_t refCount = 0;
};

template <typename T>
class SmartPtr {
 public:
  SmartPtr() = default;
  SmartPtr(T* raw) : ptr_(raw) { Acquire(); }  // NOLINT: implicit, as a raw pointer converts
  SmartPtr(const SmartPtr& other) : ptr_(other.ptr_) { Acquire(); }
  SmartPtr(SmartPtr&& other) noexcept : ptr_(std::exchange(other.ptr_, nullptr)) {}
  ~SmartPtr() { Release(); }

  SmartPtr& operator=(T* raw) {
    // Take the new one before letting the old go, so assigning the held pointer is safe.
    T* old = ptr_;
    ptr_ = raw;
    Acquire();
    ReleaseRaw(old);
    return *this;
  }
  SmartPtr& operator=(const SmartPtr& other) { return *this = other.ptr_; }
  SmartPtr& operator=(SmartPtr&& other) noexcept {
    if (this != &other) {
      Release();
      ptr_ = std::exchange(other.ptr_, nullptr);
    }
    return *this;
  }

  T& operator*() const { return *ptr_; }
  T* operator->() const { return ptr_; }
  T* get() const { return ptr_; }
  explicit operator bool() const { return ptr_ != nullptr; }

 private:
  void Acquire() {
    if (ptr_) ++ptr_->refCount;
  }
  void Release() {
    ReleaseRaw(ptr_);
    ptr_ = nullptr;
  }
  // Kept out of line: inlined, GCC's use-after-free analysis cannot see that the count stays
  // above zero while other owners exist and warns at every later use of the object.
  [[gnu::noinline]] static void ReleaseRaw(T* p) {
    if (p && --p->refCount == 0) delete p;
  }

  T* ptr_ = nullptr;
};

}  // namespace RefCount
