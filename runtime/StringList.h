// An ordered list of single-byte strings, as the toolkit's string list.
#pragma once

#include <string>
#include <vector>

namespace runtime {

class TStringList {
 public:
  int Count() const { return static_cast<int>(lines_.size()); }
  // Indexed access from 0; throws EListError for an index outside the list.
  const std::string& operator[](int index) const;
  void Add(std::string line);
  // Inserts before the line at index; index == Count() appends.
  void Insert(int index, std::string line);
  void Clear() { lines_.clear(); }
  // All lines, each followed by CR LF; the empty list gives the empty text.
  std::string Text() const;

 private:
  std::vector<std::string> lines_;
};

}  // namespace runtime
