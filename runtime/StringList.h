// Ordered lists of strings, as the toolkit's string list: of single-byte strings (the drive report,
// code page 1252) and of whole texts (UTF-16).
#pragma once

#include <string>
#include <vector>

namespace runtime {

template <typename Char>
class TBasicStringList {
 public:
  using TString = std::basic_string<Char>;

  int Count() const { return static_cast<int>(lines_.size()); }
  // Indexed access from 0; throws EListError for an index outside the list.
  const TString& operator[](int index) const;
  void Add(TString line);
  // Inserts before the line at index; index == Count() appends.
  void Insert(int index, TString line);
  void Clear() { lines_.clear(); }
  // All lines, each followed by CR LF; the empty list gives the empty text.
  TString Text() const;

 private:
  std::vector<TString> lines_;
};

using TStringList = TBasicStringList<char>;
using TWideStringList = TBasicStringList<wchar_t>;

extern template class TBasicStringList<char>;
extern template class TBasicStringList<wchar_t>;

}  // namespace runtime
