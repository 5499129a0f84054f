#include "vault/record_checks.h"

#include <string>
#include <utility>

#include "encoding/codepage.h"

namespace vault {

QString MissingField(const Record& record) {
  if (record.category.isEmpty()) return "请选择分类.";
  if (record.title.isEmpty()) return "请填写标题.";
  if (record.account.isEmpty()) return "请填写帐号.";
  if (record.password.isEmpty()) return "请填写密码.";
  return QString();
}

QString UncarriedCharacter(const Record& record) {
  for (const Field field : {Field::kPassword, Field::kNote})
    if (std::string refused = encoding::FirstCharacterOutsideCp936(record.value(field).toStdString()); !refused.empty())
      return FieldName(field) + "中有无法保存的字符: " + QString::fromStdString(refused);
  return QString();
}

}  // namespace vault
