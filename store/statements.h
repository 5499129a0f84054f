#pragma once
// Every statement the program sends to the database, built from fixed texts and spliced values.
// Spliced text values have each single quote doubled, so a value can neither end its literal
// nor change what the statement does.
#include <string>
#include <string_view>
#include <vector>

namespace store::sql {

// A value as it stands between single quotes.
inline std::string Quote(std::string_view value) {
  std::string out;
  out.reserve(value.size());
  for (char c : value) {
    out += c;
    if (c == '\'') out += '\'';
  }
  return out;
}

// A record number is spliced without quotes, so only decimal digits may pass.
std::string RecordNumber(std::string_view number);

inline std::string SelectAll() { return "Select * from data"; }

inline std::string SelectAllByUsage() {
  return "Select 编号,分类,网址,标题,帐号,密码,备注 from data  order by 统计 desc";
}

inline std::string SelectCategoryByUsage(std::string_view category) {
  return "Select  编号,分类,网址,标题,帐号,密码,备注  from data where 分类='" + Quote(category) +
         "'   order by 统计 desc";
}

inline std::string SelectAllUnordered() { return "Select  编号,分类,网址,标题,帐号,密码,备注  from data"; }

inline std::string SelectLike(std::string_view column, std::string_view keyword) {
  return "Select  编号,分类,网址,标题,帐号,密码,备注  from data where " + std::string(column) + " like '%" +
         Quote(keyword) + "%' ";
}

// Number and note of every record, for the search in the notes, which are stored enciphered.
inline std::string SelectNotes() { return "Select 编号,备注 from data"; }

// The records with these numbers, in the database's order, as the other searches list them.
std::string SelectRecordsNumbered(const std::vector<std::string>& numbers);

struct NewRecord {
  std::string category, title, address, account, passwordCipher, noteCipher;
};

inline std::string InsertRecord(const NewRecord& r) {
  return "Insert into data (分类,标题,网址,帐号,密码,备注) values ('" + Quote(r.category) + "','" + Quote(r.title) +
         "','" + Quote(r.address) + "','" + Quote(r.account) + "','" + Quote(r.passwordCipher) + "','" +
         Quote(r.noteCipher) + "')";
}

// The insert of a typed record with its six values as parameters, for adding many records.
inline const char* InsertRecordParameters() {
  return "Insert into data (分类,标题,网址,帐号,密码,备注) values (?,?,?,?,?,?)";
}

inline std::string InsertCategoryPlaceholder(std::string_view category, std::string_view passwordCipher) {
  return "Insert into data (分类,标题,网址,帐号,密码) values ('" + Quote(category) + "','标题','http://','账号','" +
         Quote(passwordCipher) + "')";
}

// The seven lines of the modify statement, in order.
std::vector<std::string> UpdateRecordLines(const NewRecord& r, std::string_view number);

// The records that DeleteCategory deletes.
inline std::string CountCategory(std::string_view category) {
  return "Select count(*) as 条数 from data where 分类='" + Quote(category) + "' ";
}

inline std::string DeleteCategory(std::string_view category) {
  return "delete 分类  from data where 分类='" + Quote(category) + "' ";
}

inline std::string DeleteRecord(std::string_view number) {
  return "delete from data where 编号=" + RecordNumber(number);
}

inline std::string UpdateMasterPassword(std::string_view cipher) {
  return "update Pass  set 密码='" + Quote(cipher) + "' ";
}

inline std::string CountUse(std::string_view number) {
  return "update data  set 统计=统计+1 where  编号=" + RecordNumber(number);
}

inline std::string SelectMasterPassword() { return "Select 密码 from Pass"; }
inline std::string SelectDatabaseKey() { return "Select 序列号 from EnCrypt"; }

inline std::string UpdateDatabaseKey(std::string_view digits) {
  return "update EnCrypt  set 序列号='" + Quote(digits) + "' ";
}

// The two lines of the category rename statement.
inline std::vector<std::string> RenameCategoryLines(std::string_view newName, std::string_view oldName) {
  return {"update data  set 分类='" + Quote(newName) + "' ", "where  分类='" + Quote(oldName) + "' "};
}

// Rewrites the one statement form that only the original engine understood
// ("delete <column> from <table> ...", which deletes whole rows) into "delete from <table> ...".
// Every other statement comes back unchanged.
std::string ToEngineDialect(std::string_view statement);

}  // namespace store::sql
