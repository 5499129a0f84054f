#pragma once
// The records an import is to add, held compactly: as QStrings, the records of a large file
// would take several times the file's size. Each record's six fields lie one after another, in
// UTF-8 as the database stores them.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "vault/vault.h"

namespace transfer {

class PlannedRecords {
 public:
  // The six fields in their order here.
  enum Field : std::size_t { kCategory, kTitle, kAddress, kAccount, kPassword, kNote, kFields };

  std::size_t size() const { return ends_.size() / kFields; }
  bool empty() const { return ends_.empty(); }
  void push_back(const vault::Record& record);
  void pop_back();
  // The record, its number empty.
  vault::Record operator[](std::size_t i) const;
  std::string_view field(std::size_t i, Field field) const;
  // Whether record i here and record j of `other` have the same six fields.
  bool same(std::size_t i, const PlannedRecords& other, std::size_t j) const;
  std::size_t hash(std::size_t i) const;

 private:
  std::string_view fields(std::size_t i) const;  // all six, one after another

  std::string text_;
  // Where each field ends in text_: 32 bits, as no file small enough to import gives 4 GiB of text.
  std::vector<std::uint32_t> ends_;
};

}  // namespace transfer
