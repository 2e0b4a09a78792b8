#include "runtime/StringList.h"

#include "runtime/Errors.h"
#include "runtime/Text.h"

namespace runtime {

namespace {
void CheckIndex(int index, int limit) {
  if (index < 0 || index > limit)
    throw EListError(L"Listenindex überschreitet das Maximum (" + DecimalText(index) + L")");
}
}  // namespace

template <typename Char>
const typename TBasicStringList<Char>::TString& TBasicStringList<Char>::operator[](int index) const {
  CheckIndex(index, Count() - 1);
  return lines_[static_cast<size_t>(index)];
}

template <typename Char>
void TBasicStringList<Char>::Add(TString line) {
  lines_.push_back(std::move(line));
}

template <typename Char>
void TBasicStringList<Char>::Insert(int index, TString line) {
  CheckIndex(index, Count());
  lines_.insert(lines_.begin() + index, std::move(line));
}

template <typename Char>
typename TBasicStringList<Char>::TString TBasicStringList<Char>::Text() const {
  size_t size = 0;
  for (const TString& line : lines_) size += line.size() + 2;
  TString text;
  text.reserve(size);
  for (const TString& line : lines_) {
    text += line;
    text += Char('\r');
    text += Char('\n');
  }
  return text;
}

template class TBasicStringList<char>;
template class TBasicStringList<wchar_t>;

}  // namespace runtime
