// xxdbf: the values of a column, seen in the table's record area or held as
// strings of their own.
#include <algorithm>

#include "dbf/record_area.h"
#include "dbf/xxdbf.h"

namespace vemlo {

DBFText TxxDBFRecordArr::View(size_t i) const {
  if (!area_) return DBFText(std::string_view(own_[i].Value));
  // The field as far as the record holds it; zero bytes and blanks at its end
  // are no part of the value.
  const size_t r = area_->RecordLen;
  if (offset_ >= r) return DBFText();
  const char* p = area_->Bytes.Data() + i * r + offset_;
  size_t n = std::min<size_t>(len_, r - offset_);
  while (n > 0 && static_cast<unsigned char>(p[n - 1]) <= 32) --n;
  return DBFText(p, n);
}

void TxxDBFRecordArr::Own() {
  if (!area_) return;
  std::vector<TxxDBFRecord> values(count_);
  for (size_t i = 0; i < values.size(); ++i) values[i].Value = View(i);
  own_ = std::move(values);
  area_.reset();
}

TxxDBFRecord& TxxDBFRecordArr::operator[](size_t i) {
  Own();
  return own_[i];
}

void TxxDBFRecordArr::push_back(TxxDBFRecord record) {
  Own();
  own_.push_back(std::move(record));
}

void TxxDBFRecordArr::reserve(size_t n) {
  if (!area_) own_.reserve(n);
}

void TxxDBFRecordArr::clear() {
  area_.reset();
  own_.clear();
}

}  // namespace vemlo
