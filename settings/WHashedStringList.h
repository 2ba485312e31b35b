// A wide string list whose IndexOf and IndexOfName go through hash tables.
#pragma once

#include "settings/WStringHash.h"
#include "settings/WStrings.h"

// Two tables, one over whole strings and one over the names of "name=value"
// strings, each built on the first look-up after the list last changed. When
// a string or name occurs more than once, look-ups find the highest index,
// which is what lets a later duplicate section or key win.
class TWHashedStringList : public TWStringList {
 public:
  int IndexOf(std::u16string_view text) const override;
  int IndexOfName(std::u16string_view name) const override;

  // How often each table was built; a burst of look-ups without changes in
  // between builds each table at most once.
  int ValueHashBuilds() const { return valueBuilds_; }
  int NameHashBuilds() const { return nameBuilds_; }

 protected:
  void Changed() override;

 private:
  std::u16string HashKey(std::u16string_view text) const;
  void UpdateValueHash() const;
  void UpdateNameHash() const;

  mutable TWStringHash valueHash_;
  mutable TWStringHash nameHash_;
  mutable bool valueHashValid_ = false;
  mutable bool nameHashValid_ = false;
  mutable int valueBuilds_ = 0;
  mutable int nameBuilds_ = 0;
};
