// Wide (UTF-16) string lists: the text of a whole file split into lines, and
// the base of the hashed lists the ini file keeps its sections and entries in.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

// Base of the objects a string list can own beside its strings.
class TWObject {
 public:
  virtual ~TWObject() = default;
};

// A list of wide strings, each with an optional owned object. Unsorted;
// duplicates allowed. Comparisons ignore letter case unless CaseSensitive.
class TWStrings : public TWObject {
 public:
  TWStrings() = default;
  TWStrings(const TWStrings&) = delete;
  TWStrings& operator=(const TWStrings&) = delete;

  virtual int Count() const = 0;
  virtual const std::u16string& Get(int index) const = 0;
  virtual void Put(int index, std::u16string text) = 0;
  // The object stored with the string at index, still owned by the list.
  virtual TWObject* GetObject(int index) const = 0;
  virtual void Insert(int index, std::u16string text, std::unique_ptr<TWObject> object = nullptr) = 0;
  virtual void Delete(int index) = 0;
  virtual void Clear() = 0;

  int Add(std::u16string text, std::unique_ptr<TWObject> object = nullptr);

  // Index of the first string equal to text, or -1.
  virtual int IndexOf(std::u16string_view text) const;
  // Index of the first "name=value" string with this name, or -1.
  virtual int IndexOfName(std::u16string_view name) const;
  // The text before the first "=" of the string at index; empty when the
  // string has no "=".
  std::u16string Name(int index) const;

  bool CaseSensitive() const { return caseSensitive_; }
  virtual void SetCaseSensitive(bool value) { caseSensitive_ = value; }
  bool SameText(std::u16string_view a, std::u16string_view b) const;

  // Replaces the list with the lines of text: a line ends at CR, LF or CR LF;
  // U+0000 ends the text; a last line without a line end still counts.
  void SetText(std::u16string_view text);
  // Every string followed by CR LF.
  std::u16string Text() const;

  // Whole-file form: UTF-16 little-endian, with or without the FF FE mark
  // (an odd last byte is ignored), and FF FE plus Text() on the way out.
  void LoadFromBytes(std::string_view bytes);
  std::string SaveToBytes() const;

 private:
  bool caseSensitive_ = false;
};

class TWStringList : public TWStrings {
 public:
  int Count() const override { return static_cast<int>(items_.size()); }
  const std::u16string& Get(int index) const override;
  void Put(int index, std::u16string text) override;
  TWObject* GetObject(int index) const override;
  void Insert(int index, std::u16string text, std::unique_ptr<TWObject> object = nullptr) override;
  void Delete(int index) override;
  void Clear() override;
  void SetCaseSensitive(bool value) override;

 protected:
  // Called after every change of the strings or of their comparison.
  virtual void Changed() {}

 private:
  struct Item {
    std::u16string text;
    std::unique_ptr<TWObject> object;
  };
  std::vector<Item> items_;
};

// UTF-16 little-endian bytes to text: skips an FF FE mark, ignores an odd
// last byte.
std::u16string DecodeUtf16Le(std::string_view bytes);
// FF FE followed by the text in UTF-16 little-endian.
std::string EncodeUtf16Le(std::u16string_view text);
