// Whether this program starts when the user logs on.
#pragma once

namespace vantrel {

// Removed: it no longer starts at logon (also when it never did). Failed: it
// still does, the change was refused. Unreachable: where the system keeps what
// starts at logon could not be opened, and nothing was changed.
enum class AutostartRemoval { Removed, Failed, Unreachable };

class Autostart {
 public:
  // Makes this program start at logon, following it when it has moved, but
  // never in place of another copy that the user chose; says nothing when the
  // system does not let it.
  virtual void Ensure() = 0;
  virtual AutostartRemoval Remove() = 0;

 protected:
  ~Autostart() = default;
};

}  // namespace vantrel
