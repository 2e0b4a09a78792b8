#include "drive/PairStringList.h"

namespace drive {

std::string TPairStringList::NameAt(int index) const {
  const std::string& row = (*this)[index];
  return row.substr(0, row.find('='));
}

std::string TPairStringList::ValueAt(int index) const {
  const std::string& row = (*this)[index];
  const size_t split = row.find('=');
  return split == std::string::npos ? std::string() : row.substr(split + 1);
}

}  // namespace drive
