#include "runtime/StringList.h"

#include "runtime/Errors.h"

namespace runtime {

namespace {
void CheckIndex(int index, int limit) {
  if (index < 0 || index > limit)
    throw EListError("Listenindex überschreitet das Maximum (" + std::to_string(index) + ")");
}
}  // namespace

const std::string& TStringList::operator[](int index) const {
  CheckIndex(index, Count() - 1);
  return lines_[static_cast<size_t>(index)];
}

void TStringList::Add(std::string line) {
  lines_.push_back(std::move(line));
}

void TStringList::Insert(int index, std::string line) {
  CheckIndex(index, Count());
  lines_.insert(lines_.begin() + index, std::move(line));
}

std::string TStringList::Text() const {
  size_t size = 0;
  for (const std::string& line : lines_) size += line.size() + 2;
  std::string text;
  text.reserve(size);
  for (const std::string& line : lines_) {
    text += line;
    text += "\r\n";
  }
  return text;
}

}  // namespace runtime
