// The framework's owner of one GDI handle. Destroying it deletes the object; FromHandle maps a
// handle to the object attached to it, or to a temporary wrapper owned by the framework.
#pragma once
#include "winport/gdi/Gdi32.h"

class WINPORT_API CGdiObject {
 public:
  CGdiObject() = default;
  virtual ~CGdiObject();
  CGdiObject(const CGdiObject&) = delete;
  CGdiObject& operator=(const CGdiObject&) = delete;

  HGDIOBJ m_hObject = nullptr;

  operator HGDIOBJ() const { return m_hObject; }  // NOLINT(google-explicit-constructor)
  HGDIOBJ GetSafeHandle() const { return m_hObject; }
  static CGdiObject* FromHandle(HGDIOBJ h);

  BOOL Attach(HGDIOBJ h);
  HGDIOBJ Detach();
  BOOL DeleteObject();
  BOOL CreateStockObject(int index);
  BOOL UnrealizeObject() { return m_hObject ? TRUE : FALSE; }
  int GetObject(int count, LPVOID out) const { return ::GetObjectW(m_hObject, count, out); }
  UINT GetObjectType() const { return ::GetObjectType(m_hObject); }
  bool operator==(const CGdiObject& o) const { return m_hObject == o.m_hObject; }
};

namespace winport::detail {
// The wrapper FromHandle returns: the attached object, else a temporary of the class for type
// (OBJ_PEN...; 0 = the handle's own type).
WINPORT_API CGdiObject* WrapperFor(HGDIOBJ h, DWORD type = 0);
// A temporary of the class for type, even when another object is attached to the handle.
WINPORT_API CGdiObject* TemporaryFor(HGDIOBJ h, DWORD type);

template <class T>
T* WrapperAs(HGDIOBJ h, DWORD type) {
  CGdiObject* o = WrapperFor(h, type);
  if (!o) return nullptr;
  if (T* t = dynamic_cast<T*>(o)) return t;
  return static_cast<T*>(TemporaryFor(h, type));
}
}  // namespace winport::detail
