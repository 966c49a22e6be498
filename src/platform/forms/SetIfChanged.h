#pragma once
// The rule of every property setter of the forms runtime: the new value is stored, and the
// observers told, only when it differs from the old one.

namespace plat {

// Stores v in field; true when that changed it.
template <class T>
bool SetIfChanged(T& field, const T& v) {
  if (field == v) return false;
  field = v;
  return true;
}

}  // namespace plat
