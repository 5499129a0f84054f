#include "transfer/planned_records.h"

#include <functional>

namespace transfer {

namespace {

QString Text(std::string_view utf8) { return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size())); }

}  // namespace

void PlannedRecords::push_back(const vault::Record& r) {
  for (const QString* value : {&r.category, &r.title, &r.address, &r.account, &r.password, &r.note}) {
    text_ += value->toStdString();
    ends_.push_back(static_cast<std::uint32_t>(text_.size()));
  }
}

void PlannedRecords::pop_back() {
  ends_.resize(ends_.size() - kFields);
  text_.resize(ends_.empty() ? 0 : ends_.back());
}

vault::Record PlannedRecords::operator[](std::size_t i) const {
  return {{},
          Text(field(i, kCategory)),
          Text(field(i, kAddress)),
          Text(field(i, kTitle)),
          Text(field(i, kAccount)),
          Text(field(i, kPassword)),
          Text(field(i, kNote))};
}

std::string_view PlannedRecords::field(std::size_t i, Field field) const {
  const std::size_t at = i * kFields + field;
  const std::size_t begin = at == 0 ? 0 : ends_[at - 1];
  return std::string_view(text_).substr(begin, ends_[at] - begin);
}

std::string_view PlannedRecords::fields(std::size_t i) const {
  const std::size_t begin = i == 0 ? 0 : ends_[i * kFields - 1];
  return std::string_view(text_).substr(begin, ends_[i * kFields + kNote] - begin);
}

bool PlannedRecords::same(std::size_t i, const PlannedRecords& other, std::size_t j) const {
  for (std::size_t f = kCategory; f < kFields; ++f) {
    if (field(i, static_cast<Field>(f)) != other.field(j, static_cast<Field>(f))) return false;
  }
  return true;
}

std::size_t PlannedRecords::hash(std::size_t i) const { return std::hash<std::string_view>{}(fields(i)); }

}  // namespace transfer
